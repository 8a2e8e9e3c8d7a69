// The restore window: the bin's entries, newest first, one line each (when,
// what was erased, how many records); the selected entry is put back into
// the files, or deleted for good, each after a question.
#pragma once

#include <QDialog>
#include <string>

#include "store/Bin.h"
#include "gui/shell/Services.h"

class QLabel;
class QPushButton;

namespace quillon {

class RecordListBox;

// An entry's line in the list: "12/09/26 23:31  Records of Olivia Haddad,
// Business Math  (12 activity records)".
std::string BinEntryLine(const BinEntry& entry);

class frmRestore : public QDialog {
  Q_OBJECT

 public:
  explicit frmRestore(Services services, QWidget* parent = nullptr);

  // Reads the bin into the list, nothing selected.
  void UpdateEntryList();
  void lstErased_Click();
  void cmdRestore_Click();
  void cmdDelete_Click();

 private:
  // The selected entry's ID, "" when none is selected.
  std::string SelectedId() const;
  // The selected entry as the bin holds it now; false when none is selected,
  // or (said, and the list read again) when it has left the bin since the
  // list was read: restored or deleted from another computer.
  bool SelectedEntry(BinEntry* entry);
  // Restore and delete are enabled while an entry is selected.
  void UpdateButtons();

  Services services_;
  QLabel* Label1_;
  QLabel* Label2_;
  RecordListBox* lstErased_;
  QPushButton* cmdRestore_;
  QPushButton* cmdDelete_;
  QPushButton* cmdMenu_;
};

}  // namespace quillon

// The export window: all activity records, or those on or after a date, in
// one of five sort orders, to a new dated file in the program folder. The
// menu holds its button hidden and disabled, so only the tests open it.
//
// Nothing to export (no record, or none on or after the date): "No records
// found." and no file is made. A file that cannot be written: a message
// naming it and what is wrong; nothing is left under its name.
#pragma once

#include <QDialog>
#include <array>

#include "gui/shell/Services.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillon {

class frmOutput : public QDialog {
  Q_OBJECT

 public:
  explicit frmOutput(Services services, QWidget* parent = nullptr);

  void optDateRange_Click(int index);
  void cmdWrite_Click();

 private:
  void Form_Load();
  int SelectedSortChoice() const;

  Services services_;
  int ExportSortOrder_ = 0;  // the sort choice of the last export written
  QLabel* Label1_;
  std::array<QRadioButton*, 3> optDateRange_{};  // 1-2
  QLineEdit* txtDate_;
  QLabel* Label2_;
  std::array<QRadioButton*, 6> optSortChoice_{};  // 1-5
  QPushButton* cmdWrite_;
  QPushButton* cmdMenu_;
};

}  // namespace quillon

// The diagnostic report window: the report lines of one result or of every
// result of a class, in a fixed-pitch font so that the answer table and the
// skill-area rows line up.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "data/ClassFiles.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace quillon {

class LinesView;

class frmDisplayDiagnostics : public QDialog {
  Q_OBJECT

 public:
  explicit frmDisplayDiagnostics(QWidget* parent = nullptr);

  void SetHeading(const std::string& text);
  void ClearRecords();
  // Appends lines to lstRecords, in order.
  void AddRecords(const std::vector<std::string>& lines);
  const std::vector<std::string>& records() const { return lines_; }

 private:
  QLabel* lblHeading_;
  LinesView* lstRecords_;
  // The form's hidden scratch list; the lessons to study are ordered by the
  // report itself (diagnostics/DiagRecord.h), so it stays empty.
  QListWidget* lstWork_;
  QPushButton* cmdOK_;
  std::vector<std::string> lines_;
};

// Appends the report of `record` (a 72-character DiagRecord) to the window's
// list, the student named from STUDENTS.DAT read into `roster`.
void ShowDiagnosticReport(frmDisplayDiagnostics& window, const std::string& record,
                          const Roster& roster);

}  // namespace quillon

// The class summary window, modal over the student records window: the
// class and its passing grade, From and To dates, and one row of figures
// per student of the roster; a heading click sorts by its column (again:
// the other way). The cells that call for attention are highlighted. From
// here: a student's progress chart, the printed summary, a CSV file.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "gui/shell/Services.h"
#include "records/DisplayBuilder.h"
#include "records/Summary.h"
#include "records/SummaryFollow.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quillon {

class FolderFollower;

class frmSummary : public QDialog {
  Q_OBJECT

 public:
  // `class_record` is the selected class's record of CLASSES.DAT. The
  // figures are computed at once; a file that cannot be read is said and
  // leaves the table empty.
  frmSummary(Services services, std::string class_record, QWidget* parent = nullptr);

  // Takes the dates typed in From and To; a date that is not one, or a
  // From after the To, is said and nothing changes.
  void cmdDates_Click();
  // Sorts by `column` (a SummaryColumn): increasing, or when it is the
  // column sorted by already, the other way.
  void SortBy(int column);
  void cmdChart_Click();
  void cmdPrint_Click();
  void cmdCsv_Click();
  // A look at RECORDS.DAT and STUDENTS.DAT; when they changed, the figures
  // again: what the follower runs on a change announced and every 2 seconds.
  void LookNow();
  FolderFollower& follower() { return *follower_; }

  const std::vector<SummaryRow>& rows() const { return shown_; }
  int sort_column() const { return sort_column_; }
  bool sort_decreasing() const { return sort_decreasing_; }

 private:
  // Computes the figures (rebuilding the working lists unless `reuse`).
  bool Compute(bool reuse);
  void FillTable();
  void ShowChart(int row);
  void SelectionChanged();
  // The Needs help cell's tip: the lessons and units concerned.
  QString HelpTip(const SummaryRow& row) const;

  Services services_;
  std::string class_name_;
  SummaryRequest request_;
  WorkingLists lists_;
  std::vector<SummaryRow> roster_rows_;  // in roster order
  std::vector<SummaryRow> shown_;        // in the order shown
  int sort_column_ = kColumnStudent;
  bool sort_decreasing_ = false;
  SummaryFollow follow_;
  FolderFollower* follower_ = nullptr;

  QLabel* lblClass_;
  QLineEdit* txtFrom_;
  QLineEdit* txtTo_;
  QPushButton* cmdDates_;
  QTableWidget* grdSummary_;
  QLabel* lblAttention_;
  QPushButton* cmdChart_;
  QPushButton* cmdPrint_;
  QPushButton* cmdCsv_;
  QPushButton* cmdClose_;
};

}  // namespace quillon

// The class overview window, modal over the diagnostic results window: for
// the chosen test of the class's tests, the problems most missed, each skill
// area's ratings and the lessons the students' plans of study name most,
// over each student's latest result (or all results) within From and To.
// From here: the printed overview, a CSV file.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "diagnostics/ClassOverview.h"
#include "gui/shell/Services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace quillon {

class frmOverview : public QDialog {
  Q_OBJECT

 public:
  // `class_record` is the selected class's record of CLASSES.DAT. Opens on
  // the class's test with the most results, the latest result of each
  // student and all dates; a file that cannot be read is said and leaves
  // the tables empty.
  frmOverview(Services services, std::string class_record, QWidget* parent = nullptr);

  void cboTest_Change();
  void chkLatest_Click();
  // Takes the dates typed in From and To; a date that is not one, or a
  // From after the To, is said and nothing changes.
  void cmdDates_Click();
  void cmdPrint_Click();
  void cmdCsv_Click();

  const ClassOverview& overview() const { return overview_; }

 private:
  // Reads the files and sums the results of `request`; false (said) when a
  // file cannot be read, the figures then as they were.
  bool Compute(const OverviewRequest& request, std::vector<TestResults>* tests = nullptr);
  void FillTables();
  void ShowNames();

  Services services_;
  std::string class_name_;
  OverviewRequest request_;
  ClassOverview overview_;

  QLabel* lblClass_;
  QComboBox* cboTest_;
  QCheckBox* chkLatest_;
  QLineEdit* txtFrom_;
  QLineEdit* txtTo_;
  QPushButton* cmdDates_;
  QLabel* lblCounts_;
  QTableWidget* grdProblems_;
  QLabel* lblMostMissed_;
  QTableWidget* grdAreas_;
  QTableWidget* grdReteach_;
  QListWidget* lstNames_;
  QPushButton* cmdPrint_;
  QPushButton* cmdCsv_;
  QPushButton* cmdClose_;
};

}  // namespace quillon

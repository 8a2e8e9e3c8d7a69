// Lab Now, modal over the menu: one row per student who worked today,
// newest activity first, for every class or the one chosen, with the last
// record's lesson or unit, its activity and result, and today's minutes,
// problems, practice percent and tests; a failed test or 15 minutes without
// a record while others work is highlighted and said in words. Nothing to
// press: the rows follow the files as the lessons append (records/LabNow.h,
// reading only). A row opens that student's progress chart.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "gui/shell/Services.h"
#include "records/LabNow.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace quillon {

class FolderFollower;

class frmLab : public QDialog {
  Q_OBJECT

 public:
  explicit frmLab(Services services, QWidget* parent = nullptr);
  ~frmLab() override;

  // A look at the files, then the rows at the clock's time: what the
  // follower runs on a change announced and every 2 seconds.
  void LookNow();
  void cmdChart_Click();

  const std::vector<LabRow>& rows() const { return rows_; }
  FolderFollower& follower() { return *follower_; }

 private:
  void FillClasses();
  void FillTable();
  void ShowChart(int row);
  void SelectionChanged();
  int ChosenClass() const;

  Services services_;
  LabWatch watch_;
  std::vector<LabRow> rows_;                // as shown
  std::vector<std::string> classes_shown_;  // the class box's classes, as it lists them
  std::string failure_;                     // the last look's failure, for the status line
  FolderFollower* follower_;

  QLabel* lblClass_;
  QComboBox* cboClass_;
  QTableWidget* grdLab_;
  QLabel* lblAttention_;
  QLabel* lblStatus_;
  QPushButton* cmdChart_;
  QPushButton* cmdMenu_;
};

}  // namespace quillon

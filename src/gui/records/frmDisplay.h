// The records display window: the activity records of one student or of a
// whole class as fixed-pitch lines under column headings, with the options
// that re-run the display builder on the same class and student: the data
// group, the sort key and the sort direction.
//
// The options always show the settings in force: when the window opens they
// are set from DataGroup, SortBy and SortDirection (the builder then picks
// Date for one student), and a change of data group that finds no records
// is taken back, so that the lines kept on the list and the option chosen
// agree.
#pragma once

#include <QDialog>
#include <array>

#include "gui/shell/Services.h"
#include "records/DisplayBuilder.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace quillon {

class LinesView;

class frmDisplay : public QDialog {
  Q_OBJECT

 public:
  // `lists` are the working lists of the student records window.
  frmDisplay(Services services, WorkingLists& lists, QWidget* parent = nullptr);

  // A run of the display builder for this window on class `classnum` and
  // student `studentnum` (kAllStudents: every student of the class). Returns the number
  // of records found; none: "No records found." and the window is left as it
  // is. Otherwise the options follow the run and the list shows its lines.
  int DisplayNew(int classnum, int studentnum);

  void optDataGroup_Click(int index);
  void optSort_Click(int index);
  void optSortDir_Click(int index);
  void cmdOK_Click() { accept(); }

  int LineCount() const;

 private:
  void Form_Load();
  // DisplayNew again on the class and student of the last run, with the
  // working lists kept: the options re-run the display this way.
  int DisplayAgain();

  Services services_;
  WorkingLists& lists_;
  int LastDisplayClass_ = 0;
  int LastDisplayStudent_ = 0;
  bool ReuseWorkingLists_ = false;  // the first run builds the lists, re-runs reuse them
  DisplayResult shown_;             // the lines on the list
  std::array<QRadioButton*, 4> optDataGroup_{};  // 1-3
  std::array<QRadioButton*, 4> optSort_{};       // 0-3
  std::array<QRadioButton*, 2> optSortDir_{};    // 0-1
  LinesView* lstRecords_;
  int full_width_ = 0;  // the list's width for whole lines
  QLabel* lblTestPassingGradeComment_;
  QLabel* lblPracticeGradeComment_;
  QPushButton* cmdOK_;
};

}  // namespace quillon

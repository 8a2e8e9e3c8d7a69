// The student records window: pick a class and, if wanted, one of its
// students, choose the data group, then display, print or erase the records
// of the student or of the whole class. It holds the display builder's
// working lists for as long as it is open.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "gui/platform/Controls.h"
#include "gui/shell/Services.h"
#include "records/DisplayBuilder.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace quillon {

class RecordListBox;

class frmStudents : public QDialog {
  Q_OBJECT

 public:
  explicit frmStudents(Services services, QWidget* parent = nullptr);

  void UpdateClassList();
  void ShowDataGroup();
  void UpdateStudentList(int classnum);
  int SelectedClassNumber() const;
  std::string SelectedClassName() const;
  int SelectedStudentNumber() const;
  std::string SelectedStudentName() const;
  void LoadPassingGrade();
  // cmdAll 0-2, then cmdSelected 0-2: each is enabled,
  // disabled or left as it is.
  void SetButtonStates(ButtonState a0, ButtonState a1, ButtonState a2, ButtonState s0,
                       ButtonState s1, ButtonState s2);

  void lstClasses_Click();
  void lstStudents_Click();
  void optDataGroup_Click(int index);
  void cmdAll_Click(int index);
  void cmdSelected_Click(int index);

  void DisplayAll();
  void DisplaySelected();
  void PrintAll();
  void PrintSelected();
  void EraseAll();
  void EraseSelected();
  // "Class Summary": the summary of the selected class, modal.
  void cmdSummary_Click();

  WorkingLists& working_lists() { return lists_; }

 private:
  void Form_Load();

  Services services_;
  WorkingLists lists_;
  std::array<QLabel*, 2> Label1_;
  RecordListBox* lstClasses_;
  RecordListBox* lstStudents_;
  std::array<QPushButton*, 3> cmdAll_;
  std::array<QPushButton*, 3> cmdSelected_;
  std::array<QRadioButton*, 4> optDataGroup_{};  // 1-3
  QPushButton* cmdMenu_;
  QPushButton* cmdSummary_;
};

}  // namespace quillon

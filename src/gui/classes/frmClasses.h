// The classes and rosters window: every class in one list, the students of
// the selected class in the other; four class buttons, four student
// buttons, and the passing grade of the selected class. Each list item
// carries the whole stored record; numbers, names and grades are read back
// out of the selected item. Every change is written at once and the list
// concerned reloaded from the file.
#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <string>

#include "gui/classes/frmStudentName.h"
#include "gui/platform/Controls.h"
#include "gui/shell/Services.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace quillon {

class RecordListBox;

class frmClasses : public QDialog {
  Q_OBJECT

 public:
  explicit frmClasses(Services services, QWidget* parent = nullptr);

  void UpdateClassList();
  void UpdateStudentList(int classnum);
  int SelectedClassNumber() const;
  std::string SelectedClassName() const;
  int SelectedStudentNumber() const;
  std::string SelectedStudentName() const;
  // One value per button, cmdClass 0-3 then cmdStudent 0-3: each is
  // enabled, disabled or left as it is.
  void SetButtonStates(ButtonState c0, ButtonState c1, ButtonState c2, ButtonState c3,
                       ButtonState s0, ButtonState s1, ButtonState s2, ButtonState s3);
  void ShowPassingGrade();

  void lstClasses_Click();
  void lstStudents_Click();
  void cmdClass_Click(int index);
  void cmdStudent_Click(int index);
  void optPassingGrade_Click(int index);
  void cmdChangePassingGrade_Click();
  void cmdMenu_Click();

  // The class operations.
  void CreateClass();
  void EditClass();
  void DeleteClass();
  void EraseAllClasses();
  // The student operations.
  void AddStudent();
  void EditStudent();
  void DeleteStudent();
  void EraseAllStudents();

  // Beside the student buttons, enabled while a class is selected: a roster
  // file imported into the class, and the log-in slips of the selected
  // student or, with none selected, of the whole class.
  void cmdImportStudents_Click();
  void cmdPrintSlips_Click();

 private:
  void Form_Load();
  // Says "The change could not be saved." with the file and what is wrong
  // when `s` failed. Returns whether `s` succeeded.
  bool SayIfUnsaved(const Status& s);
  // Shows the student name dialog; its answer when its OK gave a name.
  std::optional<StudentDialogAnswer> AskStudent(const std::string& caption,
                                                const std::string& prompt, const std::string& name,
                                                const std::string& password);

  Services services_;
  std::array<QLabel*, 2> Label1_;
  RecordListBox* lstClasses_;
  RecordListBox* lstStudents_;
  std::array<QPushButton*, 4> cmdClass_;
  std::array<QPushButton*, 4> cmdStudent_;
  QLabel* Label2_;
  QGroupBox* Frame1_;
  std::array<QRadioButton*, 7> optPassingGrade_{};  // 1 to 6
  QPushButton* cmdChangePassingGrade_;
  QPushButton* cmdMenu_;

  // The import and slips buttons, added under `column` (frmClassesImport.cpp).
  void AddImportButtons(QVBoxLayout* column);
  QPushButton* cmdImportStudents_ = nullptr;
  QPushButton* cmdPrintSlips_ = nullptr;
};

}  // namespace quillon

#include "gui/classes/frmClasses.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "base/Password.h"
#include "base/Text.h"
#include "classes/ClassOperations.h"
#include "classes/Erase.h"
#include "data/ClassFiles.h"
#include "gui/classes/ClassListBoxes.h"
#include "gui/classes/frmStudentName.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Controls.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/ListBox.h"
#include "gui/platform/Messages.h"
#include "store/Read.h"

namespace quillon {

using enum ButtonState;
namespace {

constexpr char kCR[] = "\r";

}  // namespace

frmClasses::frmClasses(Services services, QWidget* parent) : QDialog(parent), services_(services) {
  setObjectName("frmClasses");
  setWindowTitle("Quillon Student Recordkeeping System - CLASSES AND ROSTERS");
  HeadedLists lists = MakeHeadedLists(this, "Students in Class", /*bold=*/false, 29, 220);
  Label1_ = lists.headings;
  lstClasses_ = lists.classes;
  lstStudents_ = lists.second;
  cmdClass_ = MakeButtonArray<4>(
      this, "cmdClass",
      {"Create a New Class", "Delete Selected Class", "Erase All Classes", "Edit Class Name"},
      [this](int i) { cmdClass_Click(i); });
  cmdStudent_ = MakeButtonArray<4>(this, "cmdStudent",
                                   {"Add a Student to Class", "Delete Student from Class",
                                    "Erase All Students in a Class", "Edit Student Name"},
                                   [this](int i) { cmdStudent_Click(i); });
  InterleaveTabOrder(cmdClass_, cmdStudent_);
  Label2_ = new QLabel("Passing Grade for Selected Class:", this);
  Label2_->setObjectName("Label2");
  Frame1_ = new QGroupBox("Passing Grade", this);
  Frame1_->setObjectName("Frame1");
  auto* options = new QGridLayout(Frame1_);
  auto* group = new QButtonGroup(this);
  for (int i = 1; i <= 6; ++i) {
    optPassingGrade_[i] = new QRadioButton(QString("%1%").arg(40 + 10 * i), Frame1_);
    optPassingGrade_[i]->setObjectName(QString("optPassingGrade%1").arg(i));
    group->addButton(optPassingGrade_[i], i);
    options->addWidget(optPassingGrade_[i], (i - 1) / 3, (i - 1) % 3);
    connect(optPassingGrade_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) optPassingGrade_Click(i);
    });
  }
  cmdChangePassingGrade_ = new QPushButton("Change Passing Grade", this);
  cmdChangePassingGrade_->setObjectName("cmdChangePassingGrade");
  cmdMenu_ = new QPushButton("Return to Menu", this);
  cmdMenu_->setObjectName("cmdMenu");
  cmdMenu_->setAutoDefault(false);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1_[0], 0, 0);
  grid->addWidget(lstClasses_, 1, 0);
  grid->addWidget(Label1_[1], 0, 1);
  grid->addWidget(lstStudents_, 1, 1);
  auto* class_column = new QVBoxLayout;
  for (QPushButton* b : cmdClass_) class_column->addWidget(b);
  class_column->addSpacing(8);
  class_column->addWidget(Label2_);
  class_column->addWidget(Frame1_);
  class_column->addWidget(cmdChangePassingGrade_);
  grid->addLayout(class_column, 2, 0);
  auto* student_column = new QVBoxLayout;
  for (QPushButton* b : cmdStudent_) student_column->addWidget(b);
  AddImportButtons(student_column);
  student_column->addStretch();
  student_column->addWidget(cmdMenu_, 0, Qt::AlignRight);
  grid->addLayout(student_column, 2, 1);

  connect(lstClasses_, &RecordListBox::Click, this, &frmClasses::lstClasses_Click);
  connect(lstStudents_, &RecordListBox::Click, this, &frmClasses::lstStudents_Click);
  connect(cmdChangePassingGrade_, &QPushButton::clicked, this,
          &frmClasses::cmdChangePassingGrade_Click);
  // "Return to Menu" is the window's cancel button: Escape presses it.
  connect(cmdMenu_, &QPushButton::clicked, this, &frmClasses::cmdMenu_Click);
  // Enter in a list presses no button: these windows have no default one.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  Form_Load();
}

void frmClasses::Form_Load() {
  adjustSize();
  CenterForm(*this);
  UpdateClassList();
  cmdChangePassingGrade_->setEnabled(false);
}

bool frmClasses::SayIfUnsaved(const Status& s) {
  if (s.ok()) return true;
  SayFailure(services_.dialogs, services_.folder,
             "The change could not be saved." + std::string(kCR) + kCR, s);
  return false;
}

void frmClasses::UpdateClassList() {
  FillClassListBox(services_.folder, services_.dialogs, lstClasses_);
  if (services_.dialogs.Ended()) return;
  lstStudents_->Clear();
  Label2_->setText("Passing Grade for Selected Class:");  // no class, no grade
  SetButtonStates(kOn, kOff, EnabledIf(lstClasses_->ListCount() > 0), kOff, kOff, kOff, kOff, kOff);
}

void frmClasses::UpdateStudentList(int classnum) {
  FillRosterListBox(services_.folder, services_.dialogs, classnum, lstStudents_,
                    "The classes cannot be read." + std::string(kCR) + kCR);
}

int frmClasses::SelectedClassNumber() const { return ClassNumberOf(lstClasses_->SelectedRecord()); }

std::string frmClasses::SelectedClassName() const {
  return ClassDisplayName(lstClasses_->SelectedRecord());
}

int frmClasses::SelectedStudentNumber() const {
  return StudentNumberOf(lstStudents_->SelectedRecord());
}

std::string frmClasses::SelectedStudentName() const {
  return StudentDisplayName(lstStudents_->SelectedRecord());
}

void frmClasses::SetButtonStates(ButtonState c0, ButtonState c1, ButtonState c2, ButtonState c3,
                                 ButtonState s0, ButtonState s1, ButtonState s2, ButtonState s3) {
  SetTriStates(cmdClass_, {c0, c1, c2, c3});
  SetTriStates(cmdStudent_, {s0, s1, s2, s3});
}

void frmClasses::ShowPassingGrade() {
  const double g = PassingGradeOf(lstClasses_->SelectedRecord());  // 60 when not a number
  Label2_->setText(ToQString("Passing Grade for Selected Class: " + GeneralNumber(g) + "%"));
  services_.values.PassingGrade = g;
  double q = (g - 40) / 10;
  if (q < 1 || q > 6) q = 1;
  const int index = static_cast<int>(std::nearbyint(q));  // halves to the even neighbour
  optPassingGrade_[static_cast<std::size_t>(index)]->setChecked(true);
}

void frmClasses::lstClasses_Click() {
  UpdateStudentList(SelectedClassNumber());
  ShowPassingGrade();
  SetButtonStates(kOn, kOn, kOn, kOn, kOn, kOff, EnabledIf(lstStudents_->ListCount() > 0), kOff);
}

void frmClasses::lstStudents_Click() { SetButtonStates(kOn, kOn, kOn, kOn, kOn, kOn, kOn, kOn); }

void frmClasses::cmdClass_Click(int index) {
  if (index == 0) CreateClass();
  if (index == 1) DeleteClass();
  if (index == 2) EraseAllClasses();
  if (index == 3) EditClass();
}

void frmClasses::cmdStudent_Click(int index) {
  if (index == 0) AddStudent();
  if (index == 1) DeleteStudent();
  if (index == 2) EraseAllStudents();
  if (index == 3) EditStudent();
}

void frmClasses::optPassingGrade_Click(int index) {
  services_.values.PassingGrade = index * 10 + 40;
  cmdChangePassingGrade_->setEnabled(true);
}

void frmClasses::cmdChangePassingGrade_Click() {
  const int c = SelectedClassNumber();
  const double grade = services_.values.PassingGrade;
  if (!SayIfUnsaved(
          FileChangePassingGrade(services_.folder, c, static_cast<int>(std::lround(grade))))) {
    return;
  }
  Label2_->setText(ToQString("Passing Grade for Selected Class: " + GeneralNumber(grade) + "%"));
  const int selected = lstClasses_->ListIndex();
  UpdateClassList();
  if (services_.dialogs.Ended()) return;
  lstClasses_->SetListIndex(selected);
}

void frmClasses::cmdMenu_Click() { accept(); }

void frmClasses::CreateClass() {
  const std::string entry = services_.dialogs.InputBox(
      "Type the name of the class you would like to create:", "Create New Class", "",
      kClassNameWidth);
  if (!NameEntered(services_.dialogs, entry, "Enter the class name.")) return;
  if (std::string what = UnstorableText(entry); !what.empty()) {
    services_.dialogs.MessageBox("A class name cannot hold " + what + ".", Buttons::kOk,
                                 Icon::kCritical, Title::Default());
    return;
  }
  // The number is chosen under the folder's lock, as the record is written.
  int classnum = 0;
  Status s = FileAddClass(services_.folder, entry, &classnum);
  if (s.code() == StatusCode::kRefused) {
    // The number field holds two characters: 100 would read back as class 10.
    services_.dialogs.MessageBox(
        "There is no room for more classes: the class numbers 1 to 99 "
        "are all in use." +
            std::string(kCR) + "You will need to delete a class first.",
        Buttons::kOk, Icon::kNone, Title::Default());
    return;
  }
  SayIfUnsaved(s);
  UpdateClassList();
}

void frmClasses::EditClass() {
  if (lstClasses_->ListIndex() < 0) {
    services_.dialogs.MessageBox("You must select a class from the class list.", Buttons::kOk,
                                 Icon::kNone, Title::Default());
    return;
  }
  const std::string entry = services_.dialogs.InputBox(
      "Type the new name for the following class:" + std::string(kCR) + kCR + SelectedClassName(),
      "Edit Class", "", kClassNameWidth);
  if (!NameEntered(services_.dialogs, entry, "Enter the class name.")) return;
  if (std::string what = UnstorableText(entry); !what.empty()) {
    services_.dialogs.MessageBox("A class name cannot hold " + what + ".", Buttons::kOk,
                                 Icon::kCritical, Title::Default());
    return;
  }
  SayIfUnsaved(FileEditClass(services_.folder, SelectedClassNumber(), entry));
  UpdateClassList();
}

void frmClasses::DeleteClass() {
  if (lstClasses_->ListIndex() < 0) {
    services_.dialogs.MessageBox("You must select a class to delete from the class list.",
                                 Buttons::kOk, Icon::kNone, Title::Default());
    return;
  }
  const int c = SelectedClassNumber();
  if (services_.dialogs.MessageBox("Are you sure you want to delete this class?" +
                                       std::string(kCR) + kCR + SelectedClassName(),
                                   Buttons::kYesNoCancelDefaultNo, Icon::kNone,
                                   Title::Text("")) != Answer::kYes) {
    return;
  }
  SayIfUnsaved(WhileBusy(services_.dialogs, [&] {
    EraseResult erased;
    return DeleteClassWithRecords(services_.folder, services_.clock.Now(),
                                  Students::WholeClass(ClassNum(c)), &erased);
  }));
  UpdateClassList();
  lstClasses_->setFocus();  // not the next button along: the list that changed
}

void frmClasses::EraseAllClasses() {
  if (services_.dialogs.MessageBox("Are you sure you want to delete ALL classes?",
                                   Buttons::kYesNoCancelDefaultNo, Icon::kNone,
                                   Title::Text("")) != Answer::kYes) {
    return;
  }
  SayIfUnsaved(WhileBusy(services_.dialogs, [&] {
    EraseResult erased;
    return DeleteClassWithRecords(services_.folder, services_.clock.Now(), Students::EveryClass(),
                                  &erased);
  }));
  UpdateClassList();
  lstClasses_->setFocus();
}

std::optional<StudentDialogAnswer> frmClasses::AskStudent(const std::string& caption,
                                                          const std::string& prompt,
                                                          const std::string& name,
                                                          const std::string& password) {
  frmStudentName dialog(services_, this);
  dialog.setWindowTitle(ToQString(caption));
  dialog.SetPrompt(prompt);
  dialog.SetName(name);
  dialog.SetPassword(password);
  services_.dialogs.ShowModal(dialog);
  std::optional<StudentDialogAnswer> answer = dialog.Answer();
  if (services_.dialogs.Ended() || !answer || Trim(answer->StudentDialogName).empty()) {
    return std::nullopt;
  }
  return answer;
}

void frmClasses::AddStudent() {
  if (lstClasses_->ListIndex() < 0) {
    services_.dialogs.MessageBox(
        "You must first select a class from the class list before you can add a student.",
        Buttons::kOk, Icon::kNone, Title::Default());
    return;
  }
  auto no_room = [&] {
    services_.dialogs.MessageBox("There is no room in this class for more students.  " +
                                     std::string(kCR) +
                                     "You will need to add the student to a different class.",
                                 Buttons::kOk, Icon::kNone, Title::Default());
  };
  // A full class is told before the dialog opens; the number itself is
  // chosen under the folder's lock, as the record is written.
  RecordSet students;
  if (!SayIfUnsaved(ReadRecords(services_.folder, kStudentsFile, kStudentRecordLength, &students))) {
    return;
  }
  if (NewStudentNumber(students, SelectedClassNumber()) == 0) {
    no_room();
    return;
  }
  const std::optional<StudentDialogAnswer> answer = AskStudent(
      "Add Student",
      "Enter name and password for student you would like to add to " + SelectedClassName(), "",
      "");
  if (!answer) return;
  const int c = SelectedClassNumber();
  int n = 0;
  Status s = FileAddStudent(services_.folder, answer->StudentDialogName, c,
                            answer->StudentDialogPassword, &n);
  if (s.code() == StatusCode::kRefused) {
    no_room();
    return;
  }
  SayIfUnsaved(s);
  UpdateStudentList(c);
  SetButtonStates(kOn, kOn, kOn, kOn, kOn, kOff, kOn, kOff);
}

void frmClasses::EditStudent() {
  if (lstStudents_->ListIndex() < 0) {
    services_.dialogs.MessageBox("You must select a student from the class roster.", Buttons::kOk,
                                 Icon::kNone, Title::Default());
    return;
  }
  if (!NamesOneStudent(services_.dialogs, SelectedStudentNumber())) return;
  const std::optional<StudentDialogAnswer> answer =
      AskStudent("Edit Student", "Edit name and/or password for student in " + SelectedClassName(),
                 SelectedStudentName(), StudentPasswordOf(lstStudents_->SelectedRecord()));
  if (!answer) return;
  const int c = SelectedClassNumber(), s = SelectedStudentNumber();
  SayIfUnsaved(FileEditStudent(services_.folder, c, s, answer->StudentDialogName,
                               answer->StudentDialogPassword));
  UpdateStudentList(c);
  SetButtonStates(kOn, kOn, kOn, kOn, kOn, kOff, kOn, kOff);
}

void frmClasses::DeleteStudent() {
  if (lstStudents_->ListIndex() < 0) {
    services_.dialogs.MessageBox("You must select a student to delete from the class roster.",
                                 Buttons::kOk, Icon::kNone, Title::Default());
    return;
  }
  const int c = SelectedClassNumber(), s = SelectedStudentNumber();
  if (!NamesOneStudent(services_.dialogs, s)) return;
  if (services_.dialogs.MessageBox("Are you sure you want to delete this student?" +
                                       std::string(kCR) + kCR + SelectedStudentName(),
                                   Buttons::kYesNoCancelDefaultNo, Icon::kNone,
                                   Title::Text("")) != Answer::kYes) {
    return;
  }
  SayIfUnsaved(WhileBusy(services_.dialogs, [&] {
    EraseResult erased;
    return DeleteStudentWithRecords(services_.folder, services_.clock.Now(),
                                    Students::One(ClassNum(c), StudentNum(s)), &erased);
  }));
  UpdateStudentList(c);
  lstStudents_->setFocus();
}

void frmClasses::EraseAllStudents() {
  if (lstClasses_->ListIndex() < 0) {
    services_.dialogs.MessageBox("You must first select a class from the class list.", Buttons::kOk,
                                 Icon::kNone, Title::Default());
    return;
  }
  const int c = SelectedClassNumber();
  if (services_.dialogs.MessageBox("Are you sure you want to delete ALL students from this class?" +
                                       std::string(kCR) + kCR + SelectedClassName(),
                                   Buttons::kYesNoCancelDefaultNo, Icon::kNone,
                                   Title::Text("")) != Answer::kYes) {
    return;
  }
  SayIfUnsaved(WhileBusy(services_.dialogs, [&] {
    EraseResult erased;
    return DeleteStudentWithRecords(services_.folder, services_.clock.Now(),
                                    Students::WholeClass(ClassNum(c)), &erased);
  }));
  UpdateStudentList(c);  // empty, unless the removal failed
  SetButtonStates(kAsItIs, kAsItIs, kAsItIs, kAsItIs, kOn, kOff,
                  EnabledIf(lstStudents_->ListCount() > 0), kOff);
  lstStudents_->setFocus();
}

}  // namespace quillon

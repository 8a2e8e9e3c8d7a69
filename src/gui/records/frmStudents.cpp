#include "gui/records/frmStudents.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/Text.h"
#include "classes/Erase.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"
#include "store/Pending.h"
#include "store/Purge.h"
#include "gui/classes/ClassListBoxes.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Controls.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/ListBox.h"
#include "gui/platform/Messages.h"
#include "gui/records/PrintRecords.h"
#include "gui/records/frmDisplay.h"
#include "gui/records/frmSummary.h"

namespace quillon {

using enum ButtonState;

frmStudents::frmStudents(Services services, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName("frmStudents");
  setWindowTitle("Quillon Student Recordkeeping System - STUDENT RECORDS");
  HeadedLists lists = MakeHeadedLists(this, "Students in Class", /*bold=*/false, 29, 220);
  Label1_ = lists.headings;
  lstClasses_ = lists.classes;
  lstStudents_ = lists.second;
  cmdAll_ = MakeButtonArray<3>(
      this, "cmdAll",
      {"Display Records for All Students In Class", "Print Records for All Students In Class",
       "Erase Records for All Students In Class"},
      [this](int i) { cmdAll_Click(i); });
  cmdSelected_ = MakeButtonArray<3>(
      this, "cmdSelected",
      {"Display Records for Selected Student", "Print Records for Selected Student",
       "Erase Records for Selected Student"},
      [this](int i) { cmdSelected_Click(i); });
  InterleaveTabOrder(cmdAll_, cmdSelected_);
  auto* frame = new QGroupBox("Select Data to Print", this);
  frame->setObjectName("fraDataToView");
  auto* options = new QVBoxLayout(frame);
  const std::pair<int, const char*> groups[] = {
      {3, "Most recent test in each lesson/unit"}, {2, "Tests only"}, {1, "All records"}};
  for (auto [index, caption] : groups) {
    optDataGroup_[index] = new QRadioButton(caption, frame);
    optDataGroup_[index]->setObjectName(QString("optDataGroup%1").arg(index));
    options->addWidget(optDataGroup_[index]);
  }
  optDataGroup_[OptionIndex(DataGroup::kAllRecords)]->setChecked(true);  // at design time
  ConnectOptions(this, optDataGroup_, [this](int i) { optDataGroup_Click(i); });
  cmdMenu_ = new QPushButton("Return to Menu", this);
  cmdMenu_->setObjectName("cmdMenu");
  cmdMenu_->setAutoDefault(false);
  connect(cmdMenu_, &QPushButton::clicked, this, &QDialog::accept);

  // Enabled while a class is selected.
  cmdSummary_ = new QPushButton("Class Summary", this);
  cmdSummary_->setObjectName("cmdSummary");
  cmdSummary_->setEnabled(false);
  connect(cmdSummary_, &QPushButton::clicked, this, &frmStudents::cmdSummary_Click);
  QWidget::setTabOrder(cmdSummary_, cmdMenu_);  // as they stand: the menu button last
  connect(lstClasses_, &QListWidget::itemSelectionChanged, this,
          [this] { cmdSummary_->setEnabled(lstClasses_->ListIndex() >= 0); });

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1_[0], 0, 0);
  grid->addWidget(lstClasses_, 1, 0);
  grid->addWidget(Label1_[1], 0, 1);
  grid->addWidget(lstStudents_, 1, 1);
  auto* left = new QVBoxLayout;
  for (QPushButton* b : cmdAll_) left->addWidget(b);
  left->addWidget(frame);
  left->addWidget(cmdSummary_);
  left->addStretch();
  grid->addLayout(left, 2, 0);
  auto* right = new QVBoxLayout;
  for (QPushButton* b : cmdSelected_) right->addWidget(b);
  right->addStretch();
  right->addWidget(cmdMenu_, 0, Qt::AlignRight);
  grid->addLayout(right, 2, 1);

  connect(lstClasses_, &RecordListBox::Click, this, &frmStudents::lstClasses_Click);
  connect(lstStudents_, &RecordListBox::Click, this, &frmStudents::lstStudents_Click);
  // Enter in a list presses no button: these windows have no default one.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  Form_Load();
}

void frmStudents::Form_Load() {
  adjustSize();
  CenterForm(*this);
  FillUnitTestNames(&services_.values.UnitTestNames);
  ShowDataGroup();
  lstClasses_->SetListIndex(services_.values.InitialClassIndex);
  UpdateClassList();
}

// The options show the data group in force: it is kept from earlier
// displays, and the display window may change it.
void frmStudents::ShowDataGroup() { CheckOption(optDataGroup_, services_.values.DataGroup); }

void frmStudents::UpdateClassList() {
  FillClassListBox(services_.folder, services_.dialogs, lstClasses_);
  if (services_.dialogs.Ended()) return;
  lstStudents_->Clear();
  SetButtonStates(kOff, kOff, kOff, kOff, kOff, kOff);
}

void frmStudents::UpdateStudentList(int classnum) {
  FillRosterListBox(services_.folder, services_.dialogs, classnum, lstStudents_,
                    "The roster cannot be read.\r\r");
}

int frmStudents::SelectedClassNumber() const {
  return ClassNumberOf(lstClasses_->SelectedRecord());
}

std::string frmStudents::SelectedClassName() const {
  return ClassDisplayName(lstClasses_->SelectedRecord());
}

int frmStudents::SelectedStudentNumber() const {
  return StudentNumberOf(lstStudents_->SelectedRecord());
}

std::string frmStudents::SelectedStudentName() const {
  return StudentDisplayName(lstStudents_->SelectedRecord());
}

void frmStudents::LoadPassingGrade() {
  services_.values.PassingGrade = PassingGradeOf(lstClasses_->SelectedRecord());
}

void frmStudents::SetButtonStates(ButtonState a0, ButtonState a1, ButtonState a2, ButtonState s0,
                                  ButtonState s1, ButtonState s2) {
  SetTriStates(cmdAll_, {a0, a1, a2});
  SetTriStates(cmdSelected_, {s0, s1, s2});
}

void frmStudents::lstClasses_Click() {
  LoadPassingGrade();
  SetButtonStates(kOff, kOff, kOff, kOff, kOff, kOff);
  UpdateStudentList(SelectedClassNumber());
  if (lstStudents_->ListCount() > 0) SetButtonStates(kOn, kOn, kOn, kOff, kOff, kOff);
}

void frmStudents::lstStudents_Click() { SetButtonStates(kOn, kOn, kOn, kOn, kOn, kOn); }

void frmStudents::optDataGroup_Click(int index) { services_.values.DataGroup = index; }

void frmStudents::cmdAll_Click(int index) {
  if (index == 0) DisplayAll();
  if (index == 1) PrintAll();
  if (index == 2) EraseAll();
}

void frmStudents::cmdSelected_Click(int index) {
  if (index == 0) DisplaySelected();
  if (index == 1) PrintSelected();
  if (index == 2) EraseSelected();
}

void frmStudents::DisplayAll() {
  services_.values.SortBy = OptionIndex(SortBy::kName);
  frmDisplay display(services_, lists_, this);
  display.DisplayNew(SelectedClassNumber(), kAllStudents);
  if (services_.dialogs.Ended()) return;
  // Shown also when nothing was found: the list is then empty.
  display.setWindowTitle("STUDENT RECORDS: All Students");
  services_.dialogs.ShowModal(display);
  ShowDataGroup();
}

void frmStudents::DisplaySelected() {
  services_.values.SortBy = OptionIndex(SortBy::kName);
  frmDisplay display(services_, lists_, this);
  const int records_found = display.DisplayNew(SelectedClassNumber(), SelectedStudentNumber());
  if (services_.dialogs.Ended()) return;
  if (records_found != 0) {
    display.setWindowTitle(ToQString("STUDENT RECORDS: " + SelectedStudentName()));
    services_.dialogs.ShowModal(display);
  }
  ShowDataGroup();
}

void frmStudents::PrintAll() { PrintRecords(services_, SelectedClassNumber(), kAllStudents); }

void frmStudents::PrintSelected() {
  PrintRecords(services_, SelectedClassNumber(), SelectedStudentNumber());
}

void frmStudents::EraseAll() {
  if (services_.dialogs.MessageBox(
          "Are you sure you want to erase the records for ALL students in this class?\r\r" +
              SelectedClassName(),
          Buttons::kYesNoCancelDefaultNo, Icon::kNone, Title::Text("")) != Answer::kYes) {
    return;
  }
  Status s = WhileBusy(services_.dialogs, [&] {
    EraseResult erased;
    return EraseActivityRecords(services_.folder, services_.clock.Now(),
                                Students::WholeClass(ClassNum(SelectedClassNumber())), &erased);
  });
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder, "The records could not be erased.\r\r", s);
  }
}

void frmStudents::EraseSelected() {
  if (!NamesOneStudent(services_.dialogs, SelectedStudentNumber())) return;
  if (services_.dialogs.MessageBox(
          "Are you sure you want to erase this student's records?\r\r" + SelectedStudentName(),
          Buttons::kYesNoCancelDefaultNo, Icon::kNone, Title::Text("")) != Answer::kYes) {
    return;
  }
  Status s = WhileBusy(services_.dialogs, [&] {
    EraseResult erased;
    return EraseActivityRecords(
        services_.folder, services_.clock.Now(),
        Students::One(ClassNum(SelectedClassNumber()), StudentNum(SelectedStudentNumber())),
        &erased);
  });
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder, "The records could not be erased.\r\r", s);
  }
}

void frmStudents::cmdSummary_Click() {
  frmSummary summary(services_, lstClasses_->SelectedRecord(), this);
  if (services_.dialogs.Ended()) return;
  services_.dialogs.ShowModal(summary);
}

}  // namespace quillon

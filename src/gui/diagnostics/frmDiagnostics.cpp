#include "store/Read.h"
#include "gui/diagnostics/frmDiagnostics.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Text.h"
#include "classes/Erase.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "store/Pending.h"
#include "store/Purge.h"
#include "diagnostics/DiagRecord.h"
#include "diagnostics/DiagnosticReport.h"
#include "gui/classes/ClassListBoxes.h"
#include "gui/diagnostics/PrintDiagnostics.h"
#include "gui/diagnostics/frmDisplayDiagnostics.h"
#include "gui/diagnostics/frmOverview.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Controls.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/ListBox.h"
#include "gui/platform/Messages.h"

namespace quillon {

using enum ButtonState;

frmDiagnostics::frmDiagnostics(Services services, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName("frmDiagnostics");
  setWindowTitle("Quillon Student Recordkeeping System - DIAGNOSTIC TEST RESULTS");
  HeadedLists lists = MakeHeadedLists(this, "Diagnostic Test Results", /*bold=*/true, 27, 240);
  Label1_ = lists.headings;
  lstClasses_ = lists.classes;
  lstStudents_ = lists.second;
  cmdAll_ = MakeButtonArray<3>(this, "cmdAll",
                               {"Display Diagnostic Test Results for All Students Shown In List",
                                "Print Diagnostic Test Results for All Students Shown In List",
                                "Erase Diagnostic Test Results for All Students Shown In List"},
                               [this](int i) { cmdAll_Click(i); });
  cmdSelected_ = MakeButtonArray<3>(this, "cmdSelected",
                                    {"Display Diagnostic Test Results for Selected Student",
                                     "Print Diagnostic Test Results for Selected Student",
                                     "Erase Diagnostic Test Results for Selected Student"},
                                    [this](int i) { cmdSelected_Click(i); });
  InterleaveTabOrder(cmdAll_, cmdSelected_);
  // The class view of the results, below the buttons of the whole list.
  cmdOverview_ = new QPushButton("Class Overview", this);
  cmdOverview_->setObjectName("cmdOverview");
  cmdOverview_->setEnabled(false);
  connect(cmdOverview_, &QPushButton::clicked, this, &frmDiagnostics::cmdOverview_Click);
  cmdMenu_ = new QPushButton("Return to Menu", this);
  cmdMenu_->setObjectName("cmdMenu");
  cmdMenu_->setAutoDefault(false);
  connect(cmdMenu_, &QPushButton::clicked, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1_[0], 0, 0);
  grid->addWidget(lstClasses_, 1, 0);
  grid->addWidget(Label1_[1], 0, 1);
  grid->addWidget(lstStudents_, 1, 1);
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(cmdAll_[i], 2 + i, 0);
    grid->addWidget(cmdSelected_[i], 2 + i, 1);
  }
  grid->addWidget(cmdOverview_, 5, 0);
  grid->addWidget(cmdMenu_, 6, 0, 1, 2, Qt::AlignHCenter);

  connect(lstClasses_, &RecordListBox::Click, this, &frmDiagnostics::lstClasses_Click);
  connect(lstStudents_, &RecordListBox::Click, this, &frmDiagnostics::lstStudents_Click);
  // Enter in a list presses no button: these windows have no default one.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  Form_Load();
}

void frmDiagnostics::Form_Load() {
  adjustSize();
  CenterForm(*this);
  lstClasses_->SetListIndex(services_.values.InitialClassIndex);
  UpdateClassList();
}

void frmDiagnostics::UpdateClassList() {
  FillClassListBox(services_.folder, services_.dialogs, lstClasses_);
  if (services_.dialogs.Ended()) return;
  lstStudents_->Clear();
  cmdOverview_->setEnabled(false);
  SetButtonStates(kOff, kOff, kOff, kOff, kOff, kOff);
}

void frmDiagnostics::UpdateStudentList(int classnum) {
  lstStudents_->Clear();
  std::vector<std::string> entries;
  Status s = DiagListEntries(services_.folder, classnum, &entries);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder,
               "The diagnostic results cannot be read.\r\n\r\n", s);
  }
  bool scored = false;  // a result of a known test, for the overview
  for (const std::string& e : entries) {
    lstStudents_->AddItem(e, TrimRight(e.substr(0, 50)));
    scored = scored || FindDiagnosticTest(DiagTestCode(DiagEntryRecord(e))) != nullptr;
  }
  lstStudents_->SetListIndex(-1);
  cmdOverview_->setEnabled(classnum > 0 && scored);
}

int frmDiagnostics::SelectedClassNumber() const {
  return ClassNumberOf(lstClasses_->SelectedRecord());
}

std::string frmDiagnostics::SelectedClassName() const {
  return ClassDisplayName(lstClasses_->SelectedRecord());
}

int frmDiagnostics::SelectedStudentNumber() const {
  return DiagStudentNumber(DiagEntryRecord(lstStudents_->SelectedRecord()));
}

std::string frmDiagnostics::SelectedStudentName() const {
  return Trim(lstStudents_->SelectedRecord().substr(0, 21));
}

void frmDiagnostics::SetButtonStates(ButtonState a0, ButtonState a1, ButtonState a2, ButtonState s0,
                                     ButtonState s1, ButtonState s2) {
  SetTriStates(cmdAll_, {a0, a1, a2});
  SetTriStates(cmdSelected_, {s0, s1, s2});
}

void frmDiagnostics::lstClasses_Click() {
  UpdateStudentList(SelectedClassNumber());
  SetButtonStates(kOn, kOn, kOn, kOff, kOff, kOff);
}

void frmDiagnostics::lstStudents_Click() {
  SelectedDiagRecord_ = DiagEntryRecord(lstStudents_->SelectedRecord());
  SetButtonStates(kOn, kOn, kOn, kOn, kOn, kOn);
}

void frmDiagnostics::cmdAll_Click(int index) {
  if (index == 0) DisplayDiagnosticDataAll();
  if (index == 1) PrintDiagnosticDataAll();
  if (index == 2) EraseDiagnosticDataAll();
}

void frmDiagnostics::cmdSelected_Click(int index) {
  if (index == 0 && lstStudents_->ListCount() > 0) DisplayDiagnosticData();
  if (index == 1) PrintDiagnosticData();
  if (index == 2) EraseDiagnosticData();
}

std::vector<std::string> frmDiagnostics::ListedRecords() const {
  std::vector<std::string> records;
  for (int i = 0; i < lstStudents_->ListCount(); ++i) {
    records.emplace_back(DiagEntryRecord(lstStudents_->ItemRecord(i)));
  }
  return records;
}

void frmDiagnostics::ShowReports(const std::string& caption,
                                 const std::vector<std::string>& records) {
  Roster roster;
  Status s = LoadRoster(services_.folder, &roster);
  if (!s.ok()) {
    SayFailure(services_.dialogs, services_.folder, "The roster cannot be read.\r\n\r\n", s);
  }
  frmDisplayDiagnostics window(this);
  window.setWindowTitle(ToQString(caption));
  window.SetHeading("Diagnostic Test Results");
  window.ClearRecords();
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i > 0) window.AddRecords(ReportSeparator());
    ShowDiagnosticReport(window, records[i], roster);
  }
  services_.dialogs.ShowModal(window);
}

void frmDiagnostics::cmdOverview_Click() {
  frmOverview overview(services_, lstClasses_->SelectedRecord(), this);
  services_.dialogs.ShowModal(overview);
}

void frmDiagnostics::DisplayDiagnosticDataAll() {
  ShowReports("STUDENT DIAGNOSTICS: All Students", ListedRecords());
}

void frmDiagnostics::DisplayDiagnosticData() {
  ShowReports("STUDENT DIAGNOSTICS: " + SelectedStudentName(), {SelectedDiagRecord_});
}

void frmDiagnostics::PrintDiagnosticDataAll() { PrintDiagnostics(services_, ListedRecords()); }

void frmDiagnostics::PrintDiagnosticData() { PrintDiagnostics(services_, {SelectedDiagRecord_}); }

void frmDiagnostics::Erase(const std::string& question, const std::string& name, int studentnum) {
  const int classnum = SelectedClassNumber();
  if (services_.dialogs.MessageBox(question + "\r\n\r\n" + name, Buttons::kYesNoDefaultNo,
                                   Icon::kNone, Title::Text("")) == Answer::kYes) {
    Status s = WhileBusy(services_.dialogs, [&] {
      EraseResult erased;
      const Students who = studentnum == 0
                               ? Students::WholeClass(ClassNum(classnum))
                               : Students::One(ClassNum(classnum), StudentNum(studentnum));
      return EraseDiagnosticResults(services_.folder, services_.clock.Now(), who, &erased);
    });
    if (!s.ok()) {
      SayFailure(services_.dialogs, services_.folder, "The results could not be erased.\r\n\r\n",
                 s);
    }
  }
  UpdateStudentList(classnum);
  SetButtonStates(kOn, kOn, kOn, kOff, kOff, kOff);
  // The erase buttons of a selected student are off now: the focus goes to
  // the list of results, not to the next button along.
  lstStudents_->setFocus();
}

void frmDiagnostics::EraseDiagnosticDataAll() {
  Erase(
      "Are you sure you want to erase the Diagnostic Test results for ALL students in this "
      "class?",
      SelectedClassName(), 0);
}

void frmDiagnostics::EraseDiagnosticData() {
  if (!NamesOneStudent(services_.dialogs, SelectedStudentNumber())) return;
  Erase("Are you sure you want to erase this student's Diagnostic Test results?",
        SelectedStudentName(), SelectedStudentNumber());
}

}  // namespace quillon

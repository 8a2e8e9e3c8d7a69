#include "gui/export/frmOutput.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/Text.h"
#include "export/ExportWriter.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/Messages.h"

namespace quillon {

frmOutput::frmOutput(Services services, QWidget* parent) : QDialog(parent), services_(services) {
  setObjectName("frmOutput");
  setWindowTitle("VARDELLO(tm) RECORDKEEPING - OUTPUT STUDENT DATA TO FILE");
  Label1_ = new QLabel("Output Student Records To File", this);
  Label1_->setObjectName("Label1");
  QFont heading = Label1_->font();
  heading.setBold(true);
  Label1_->setFont(heading);
  auto* frame1 = new QGroupBox("Date Range", this);
  frame1->setObjectName("Frame1");
  auto* dates = new QGridLayout(frame1);
  optDateRange_[1] = new QRadioButton("Output all student data", frame1);
  optDateRange_[2] = new QRadioButton("Output student data on or after", frame1);
  txtDate_ = new QLineEdit(frame1);
  txtDate_->setObjectName("txtDate");
  txtDate_->setAccessibleName("Output student data on or after, mm/dd/yy");
  txtDate_->setMaxLength(10);
  Label2_ = new QLabel("mm/dd/yy", frame1);
  Label2_->setObjectName("Label2");
  for (int i = 1; i <= 2; ++i) optDateRange_[i]->setObjectName(QString("optDateRange%1").arg(i));
  dates->addWidget(optDateRange_[1], 0, 0, 1, 3);
  dates->addWidget(optDateRange_[2], 1, 0);
  dates->addWidget(txtDate_, 1, 1);
  dates->addWidget(Label2_, 1, 2);
  auto* frame2 = new QGroupBox("Sort Order", this);
  frame2->setObjectName("Frame2");
  auto* sorts = new QVBoxLayout(frame2);
  const char* choices[] = {"",
                           "Date, Class, Student",
                           "Date, Student",
                           "Class, Date, Student",
                           "Class, Student, Date",
                           "Student, Subject, Date"};
  for (int i = 1; i <= 5; ++i) {
    optSortChoice_[i] = new QRadioButton(choices[i], frame2);
    optSortChoice_[i]->setObjectName(QString("optSortChoice%1").arg(i));
    sorts->addWidget(optSortChoice_[i]);
  }
  optDateRange_[1]->setChecked(true);
  optSortChoice_[1]->setChecked(true);
  for (int i = 1; i <= 2; ++i) {
    connect(optDateRange_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) optDateRange_Click(i);
    });
  }
  cmdWrite_ = new QPushButton("Write Data to File", this);
  cmdWrite_->setObjectName("cmdWrite");
  cmdWrite_->setDefault(true);
  cmdMenu_ = new QPushButton("Return to Menu", this);
  cmdMenu_->setObjectName("cmdMenu");
  cmdMenu_->setAutoDefault(false);
  connect(cmdWrite_, &QPushButton::clicked, this, &frmOutput::cmdWrite_Click);
  connect(cmdMenu_, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1_, 0, Qt::AlignHCenter);
  layout->addWidget(frame1);
  layout->addWidget(frame2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdWrite_);
  buttons->addStretch();
  buttons->addWidget(cmdMenu_);
  layout->addLayout(buttons);
  Form_Load();
}

void frmOutput::Form_Load() {
  adjustSize();
  CenterForm(*this);
  const Date today = services_.clock.Today();
  txtDate_->setText(ToQString(ZeroPad(today.month, 2) + "/" + ZeroPad(today.day, 2) + "/" +
                              ZeroPad(today.year % 100, 2)));
  txtDate_->setEnabled(false);  // while "Output all student data" is chosen
}

void frmOutput::optDateRange_Click(int index) { txtDate_->setEnabled(index == 2); }

int frmOutput::SelectedSortChoice() const {
  for (int i = 1; i <= 5; ++i) {
    if (optSortChoice_[i]->isChecked()) return i;
  }
  return 1;
}

void frmOutput::cmdWrite_Click() {
  Dialogs& dialogs = services_.dialogs;
  std::optional<std::string> cutoff;
  if (optDateRange_[2]->isChecked()) {
    cutoff = ParseCutoffDate(FromQStringReplacing(txtDate_->text()));
    if (!cutoff) {
      dialogs.MessageBox("Enter date in format mm/dd/yy", Buttons::kOk, Icon::kCritical,
                         Title::Default());
      return;
    }
  }
  std::string name = MakeOutputFileName(services_.folder, services_.clock);
  if (ToUpper(name) == "ERROR") {
    dialogs.MessageBox("An error has occurred while trying\rto create a name for the output file",
                       Buttons::kOk, Icon::kCritical, Title::Default());
    return;
  }
  std::size_t count = 0;
  Status s = CountExportRecords(services_.folder, cutoff, &count);
  if (!s.ok()) {
    SayFailure(dialogs, services_.folder, "The records cannot be read from the file\r", s, "\r\r");
    return;
  }
  if (count == 0) {
    dialogs.MessageBox("No records found.", Buttons::kOk, Icon::kNone, Title::Default());
    return;
  }
  const std::string chosen = services_.folder.FullPath(name);
  dialogs.MessageBox("Student records will be output to the following file:\r" + chosen +
                         "\r\rClick OK to proceed",
                     Buttons::kOk, Icon::kNone, Title::Default());
  if (dialogs.Ended()) return;
  dialogs.SetBusy(true);
  ExportSortOrder_ = SelectedSortChoice();
  std::size_t written = 0;
  SharedValues& v = services_.values;
  s = WriteExport(services_.folder, services_.clock, {v.Catalogue, v.UnitTestNames}, cutoff,
                  ExportSortOrder_, &name, &written);
  dialogs.SetBusy(false);
  if (!s.ok()) {
    SayFailure(dialogs, services_.folder, "The records could not be written to the file\r", s,
               "\r\r");
    return;
  }
  const std::string actual = services_.folder.FullPath(name);
  dialogs.MessageBox(actual == chosen ? "Output to file is complete"
                                      : "Output to file is complete\r\rA file named " + chosen +
                                            " appeared meanwhile; the records are in " + actual,
                     Buttons::kOk, Icon::kNone, Title::Default());
}

}  // namespace quillon

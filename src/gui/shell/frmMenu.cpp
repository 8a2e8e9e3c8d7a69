#include "gui/shell/frmMenu.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/DiagFile.h"
#include "gui/classes/frmClasses.h"
#include "gui/diagnostics/frmDiagnostics.h"
#include "gui/export/frmOutput.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Messages.h"
#include "gui/records/frmLab.h"
#include "gui/records/frmStudents.h"
#include "gui/restore/frmRestore.h"
#include "gui/shell/frmPassword.h"
#include "store/Bin.h"

namespace quillon {

frmMenu::frmMenu(Services services, QWidget* parent) : QWidget(parent), services_(services) {
  setObjectName("frmMenu");
  setWindowTitle("Quillon Student Recordkeeping System - MENU");
  Label1_ = new QLabel("Quillon Student Recordkeeping System", this);
  Label1_->setObjectName("Label1");
  QFont heading = Label1_->font();
  heading.setPointSize(heading.pointSize() + 4);
  heading.setBold(true);
  Label1_->setFont(heading);
  Label1_->setAlignment(Qt::AlignCenter);
  std::string folder = services_.folder.FullPath("");
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  lblFolder_ = new QLabel("Program folder: " + QString::fromLocal8Bit(folder.c_str()), this);
  lblFolder_->setObjectName("lblFolder");
  lblFolder_->setAlignment(Qt::AlignCenter);
  lblFolder_->setWordWrap(true);
  lblFolder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  for (QLabel* label : {Label1_, lblFolder_}) {
    label->setSizePolicy(QSizePolicy::Preferred,
                         QSizePolicy::Maximum);  // the buttons take the room
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1_);
  layout->addWidget(lblFolder_);
  layout->addSpacing(12);
  auto add = [&](const char* name, const char* caption, void (frmMenu::*click)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setMinimumHeight(34);
    layout->addWidget(button);
    connect(button, &QPushButton::clicked, this, click);
    return button;
  };
  cmdClasses_ =
      add("cmdClasses", " Managing Classes and Student Rosters", &frmMenu::cmdClasses_Click);
  cmdStudents_ =
      add("cmdStudents", "Displaying and Managing Student Records", &frmMenu::cmdStudents_Click);
  cmdDiagnostics_ = add("cmdDiagnostics", "Displaying and Managing Diagnostic Test Results",
                        &frmMenu::cmdDiagnostics_Click);
  cmdLab_ = add("cmdLab", "Lab Now", &frmMenu::cmdLab_Click);
  cmdRestore_ = add("cmdRestore", "Restore Erased Records", &frmMenu::cmdRestore_Click);
  cmdOutput_ = add("cmdOutput", "Output Student Records to File", &frmMenu::cmdOutput_Click);
  cmdAnalysis_ =
      add("cmdAnalysis", "&Analysis of Student Performance", &frmMenu::cmdAnalysis_Click);
  cmdExit_ = add("cmdExit", "End Program", &frmMenu::cmdExit_Click);
  // The export and the analysis are not offered: nothing shows or enables them.
  for (QPushButton* hidden : {cmdOutput_, cmdAnalysis_}) {
    hidden->setVisible(false);
    hidden->setEnabled(false);
  }
  resize(460, 420);
}

void frmMenu::Form_Load() {
  CenterForm(*this);
  services_.values.InitialClassIndex = -1;
  if (services_.folder.FileExists(kPasswordFile)) {
    frmPassword password(services_, this);
    if (const Status& s = password.load_status(); !s.ok()) {
      SayCannotStart(services_.dialogs, services_.folder, s);
      return;
    }
    // Only a right password (or an empty stored one) accepts the window; the
    // window itself ends the program on the third wrong entry or on closing.
    const int result = services_.dialogs.ShowModal(password);
    if (services_.dialogs.Ended()) return;
    if (result != QDialog::Accepted) {
      services_.dialogs.EndProgram(kExitRefused);
      return;
    }
  }
  // Tested once: a results file created later is noticed at the next start.
  if (!services_.folder.FileExists(kDiagFile)) {
    cmdDiagnostics_->setEnabled(false);
    cmdDiagnostics_->setToolTip(
        "There are no diagnostic test results yet: the program folder has no Diag.dat.");
  }
  UpdateRestoreButton();
}

void frmMenu::UpdateRestoreButton() {
  bool any = false;
  // A bin that cannot be read leaves the button enabled: the window says why.
  const Status s = BinHasEntries(services_.folder, &any);
  cmdRestore_->setEnabled(!s.ok() || any);
}

void frmMenu::cmdClasses_Click() {
  {
    frmClasses window(services_, this);
    services_.dialogs.ShowModal(window);
  }
  UpdateRestoreButton();
}

void frmMenu::cmdStudents_Click() {
  {
    frmStudents window(services_, this);
    services_.dialogs.ShowModal(window);
  }
  UpdateRestoreButton();
}

void frmMenu::cmdDiagnostics_Click() {
  {
    frmDiagnostics window(services_, this);
    services_.dialogs.ShowModal(window);
  }
  UpdateRestoreButton();
}

void frmMenu::cmdLab_Click() {
  frmLab window(services_, this);
  services_.dialogs.ShowModal(window);
}

void frmMenu::cmdOutput_Click() {
  {
    frmOutput window(services_, this);
    services_.dialogs.ShowModal(window);
  }
  UpdateRestoreButton();
}

void frmMenu::cmdRestore_Click() {
  {
    frmRestore window(services_, this);
    services_.dialogs.ShowModal(window);
  }
  UpdateRestoreButton();
}

void frmMenu::cmdAnalysis_Click() {}

void frmMenu::cmdExit_Click() { services_.dialogs.EndProgram(kExitDone); }

}  // namespace quillon

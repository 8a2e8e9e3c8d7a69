#include "gui/shell/frmPassword.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "base/Password.h"
#include "base/Text.h"
#include "data/TextFile.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Encoding.h"

namespace quillon {

frmPassword::frmPassword(Services services, QWidget* parent)
    : QDialog(parent), services_(services) {
  setObjectName("frmPassword");
  setWindowTitle("Password");
  Label1_ = new QLabel("Enter Administrator Password", this);
  Label1_->setObjectName("Label1");
  txtPassword_ = new QLineEdit(this);
  txtPassword_->setObjectName("txtPassword");
  txtPassword_->setEchoMode(QLineEdit::Password);
  txtPassword_->setAccessibleName("Enter Administrator Password");
  // Every typed character shows as "*".
  txtPassword_->setStyleSheet("lineedit-password-character: 42");
  txtPassword_->setMaxLength(4);
  cmdOK_ = new QPushButton("OK", this);
  cmdOK_->setObjectName("cmdOK");
  cmdOK_->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1_);
  layout->addWidget(txtPassword_);
  layout->addWidget(cmdOK_, 0, Qt::AlignHCenter);
  connect(cmdOK_, &QPushButton::clicked, this, &frmPassword::cmdOK_Click);
  resize(280, 130);
  Form_Load();
}

void frmPassword::Form_Load() {
  CenterForm(*this);
  std::string contents;
  // A file that cannot be read must not open the gate: the menu's load
  // ends the program on it (only an empty file or a blank first line asks
  // for nothing).
  load_status_ = services_.folder.ReadFile(kPasswordFile, &contents);
  if (!load_status_.ok()) contents.clear();
  std::string line = FirstLine(contents).value_or("");
  AdminPassword_ = UnscramblePassword(Trim(line));
  Attempts_ = 0;
}

void frmPassword::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Form_Activate();
}

void frmPassword::Form_Activate() {
  // An empty stored password asks for nothing.
  if (AdminPassword_.empty()) QTimer::singleShot(0, this, &QDialog::accept);
}

void frmPassword::cmdOK_Click() {
  ++Attempts_;
  std::string typed = Trim(FromQStringReplacing(txtPassword_->text().toLower()));
  if (typed == AdminPassword_) {
    accept();
    return;
  }
  if (Attempts_ < 3) {
    services_.dialogs.MessageBox("Password is incorrect.", Buttons::kOk, Icon::kNone,
                                 Title::Default());
    txtPassword_->clear();
    txtPassword_->setFocus();
    return;
  }
  services_.dialogs.MessageBox("3 Password attempts have failed.", Buttons::kOk, Icon::kNone,
                               Title::Default());
  services_.dialogs.EndProgram(kExitRefused);
  done(QDialog::Rejected);
}

void frmPassword::reject() {
  services_.dialogs.EndProgram(kExitRefused);
  done(QDialog::Rejected);
}

}  // namespace quillon

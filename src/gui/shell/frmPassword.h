// The administrator password window, shown by the menu's load when s3.dat
// exists. Three wrong entries end the program; closing the window (its close
// control or Escape) counts as giving up and ends the program too, so that
// nobody gets past the gate without the password.
#pragma once

#include <QDialog>
#include <string>

#include "gui/shell/Services.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

// The administrator password file; without it no password is asked.
inline constexpr char kPasswordFile[] = "s3.dat";

class frmPassword : public QDialog {
  Q_OBJECT

 public:
  frmPassword(Services services, QWidget* parent = nullptr);

  // The unscrambled administrator password read by the load.
  const std::string& AdminPassword() const { return AdminPassword_; }
  int Attempts() const { return Attempts_; }
  // Whether s3.dat could be read.
  const Status& load_status() const { return load_status_; }

  void cmdOK_Click();
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Form_Load();
  void Form_Activate();

  Services services_;
  QLabel* Label1_;
  QLineEdit* txtPassword_;
  QPushButton* cmdOK_;
  Status load_status_;
  std::string AdminPassword_;
  int Attempts_ = 0;
};

}  // namespace quillon

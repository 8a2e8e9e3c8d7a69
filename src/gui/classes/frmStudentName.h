// The student name dialog: the name and password of a student to add or
// edit. OK gives its answer (StudentDialogName, StudentDialogPassword);
// Cancel and the close control give none.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "gui/shell/Services.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

// What the dialog's OK gave: the name trimmed, the password as typed.
struct StudentDialogAnswer {
  std::string StudentDialogName;
  std::string StudentDialogPassword;
};

class frmStudentName : public QDialog {
  Q_OBJECT

 public:
  explicit frmStudentName(Services services, QWidget* parent = nullptr);

  // What the caller sets before showing the dialog.
  void SetPrompt(const std::string& label4);
  void SetName(const std::string& text1);
  void SetPassword(const std::string& text2);

  // The answer of the OK that closed the dialog; none after Cancel, the
  // close control, or before OK was pressed.
  std::optional<StudentDialogAnswer> Answer() const;

  void cmdOK_Click();
  void cmdCancel_Click();
  void reject() override { cmdCancel_Click(); }

 protected:
  // Text2's key filter: digits and capitals only; Backspace takes off the
  // last character wherever the caret is; other typed characters and the
  // clipboard shortcuts are discarded.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Services services_;
  bool StudentDialogOK_ = false;
  StudentDialogAnswer answer_;
  QLabel* Label4_;
  QLabel* lblNotice_;  // what cannot be stored in the name, and the spelling offered
  QLabel* Label1_;
  QLineEdit* Text1_;
  QLabel* Label2_;
  QLineEdit* Text2_;
  QLabel* Label3_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
};

}  // namespace quillon

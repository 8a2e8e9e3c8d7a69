// The student name dialog: the name and password of a student to add or
// edit. Its results go to the shared values StudentDialogOK,
// StudentDialogName and StudentDialogPassword; Cancel and the close control
// leave StudentDialogOK false.
#pragma once

#include <QDialog>

#include "gui/shell/Services.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

class frmStudentName : public QDialog {
  Q_OBJECT

 public:
  explicit frmStudentName(Services services, QWidget* parent = nullptr);

  // What the caller sets before showing the dialog.
  void SetPrompt(const std::string& label4);
  void SetName(const std::string& text1);
  void SetPassword(const std::string& text2);

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
  QLabel* Label4_;
  QLabel* Label1_;
  QLineEdit* Text1_;
  QLabel* Label2_;
  QLineEdit* Text2_;
  QLabel* Label3_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
};

}  // namespace quillon

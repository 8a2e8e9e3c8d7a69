// The main menu: opens one task window at a time, modally, and ends the
// program. Its load asks for the administrator password when s3.dat exists
// and disables the diagnostics button when there is no Diag.dat. "Restore
// Erased Records" is enabled while the bin holds an entry. "Lab Now", below
// the task buttons, shows who is working today as the lessons write. Under the heading
// the program folder in use is named (a lab may have several).
#pragma once

#include <QWidget>

#include "gui/shell/Services.h"

class QLabel;
class QPushButton;

namespace quillon {

class frmMenu : public QWidget {
  Q_OBJECT

 public:
  explicit frmMenu(Services services, QWidget* parent = nullptr);

  // The menu's load: centre, reset InitialClassIndex, the password gate, the
  // diagnostics button. Runs before the menu is shown; a failed password
  // ends the program inside it.
  void Form_Load();

  void cmdClasses_Click();
  void cmdStudents_Click();
  void cmdDiagnostics_Click();
  void cmdLab_Click();
  void cmdRestore_Click();
  void cmdOutput_Click();
  void cmdAnalysis_Click();
  void cmdExit_Click();

 private:
  // Enables "Restore Erased Records" when the bin holds an entry.
  void UpdateRestoreButton();

  Services services_;
  QLabel* Label1_;
  QLabel* lblFolder_;  // the program folder in use
  QPushButton* cmdClasses_;
  QPushButton* cmdStudents_;
  QPushButton* cmdDiagnostics_;
  QPushButton* cmdLab_;
  QPushButton* cmdRestore_;
  QPushButton* cmdOutput_;
  QPushButton* cmdAnalysis_;
  QPushButton* cmdExit_;
};

}  // namespace quillon

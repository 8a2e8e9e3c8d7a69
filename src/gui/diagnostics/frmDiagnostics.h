// The diagnostic results window: the classes, and for the chosen class
// every result in Diag.dat, one entry each (the student's name in 50
// characters, then the whole record), sorted by the entry text; its buttons
// show, print or erase the results of the whole list or of the selected
// entry's student. "Class Overview" (enabled while the chosen class has
// results of a known test) opens the class view of its tests.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "gui/platform/Controls.h"
#include "gui/shell/Services.h"

class QLabel;
class QPushButton;

namespace quillon {

class RecordListBox;

class frmDiagnostics : public QDialog {
  Q_OBJECT

 public:
  explicit frmDiagnostics(Services services, QWidget* parent = nullptr);

  void UpdateClassList();
  void UpdateStudentList(int classnum);
  int SelectedClassNumber() const;
  std::string SelectedClassName() const;
  int SelectedStudentNumber() const;
  std::string SelectedStudentName() const;
  // cmdAll 0-2, then cmdSelected 0-2: each is enabled, disabled or left as
  // it is.
  void SetButtonStates(ButtonState a0, ButtonState a1, ButtonState a2, ButtonState s0,
                       ButtonState s1, ButtonState s2);

  void lstClasses_Click();
  void lstStudents_Click();
  void cmdAll_Click(int index);
  void cmdSelected_Click(int index);

  void cmdOverview_Click();

  void DisplayDiagnosticDataAll();
  void DisplayDiagnosticData();
  void PrintDiagnosticDataAll();
  void PrintDiagnosticData();
  void EraseDiagnosticDataAll();
  void EraseDiagnosticData();

  // The 72-character record of the entry selected last.
  const std::string& SelectedDiagRecord() const { return SelectedDiagRecord_; }

 private:
  void Form_Load();
  // The records of every entry of the results list, in list order.
  std::vector<std::string> ListedRecords() const;
  // Shows `records`' reports (four separator lines between two) in the
  // report window, captioned `caption`.
  void ShowReports(const std::string& caption, const std::vector<std::string>& records);
  void Erase(const std::string& question, const std::string& name, int studentnum);

  Services services_;
  std::array<QLabel*, 2> Label1_;
  RecordListBox* lstClasses_;
  RecordListBox* lstStudents_;
  std::array<QPushButton*, 3> cmdAll_;
  std::array<QPushButton*, 3> cmdSelected_;
  QPushButton* cmdOverview_;
  QPushButton* cmdMenu_;
  std::string SelectedDiagRecord_;
};

}  // namespace quillon

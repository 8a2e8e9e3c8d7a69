// The classes and rosters window, driven as an instructor would: the lists,
// the button states, every prompt, and the bytes left in the files.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "gui/classes/frmClasses.h"
#include "gui/classes/frmStudentName.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;

const Title kNoTitle = Title::Text("");

class ClassesWindowTest : public testing::GuiTest {
 protected:
  frmClasses& Open() {
    window_ = std::make_unique<frmClasses>(services());
    window_->show();
    return *window_;
  }
  testing::WindowDriver d() { return Drive(*window_); }
  // "11110000": cmdClass 0-3, then cmdStudent 0-3.
  std::string Buttons() { return d().States("cmdClass", 0, 3) + d().States("cmdStudent", 0, 3); }
  // The student dialog, answered with `name` and the keys `password`.
  void ExpectStudentDialog(const std::string& caption, const std::string& prompt,
                           const QString& name, const QString& password,
                           const std::string& shown_name = "", const std::string& shown_pwd = "") {
    dialogs.ExpectModal<frmStudentName>([=, this](frmStudentName& w) {
      auto s = Drive(w);
      EXPECT_EQ(w.windowTitle().toStdString(), caption);
      EXPECT_EQ(s.Text("Label4"), prompt);
      EXPECT_EQ(s.Text("Text1"), shown_name);
      EXPECT_EQ(s.Text("Text2"), shown_pwd);
      s.Get<QLineEdit>("Text1").setText(name);
      s.Get<QLineEdit>("Text2").clear();
      s.Type("Text2", password);
      s.Click("cmdOK");
    });
  }
  void ExpectConfirm(const std::string& prompt, Answer answer) {
    dialogs.ExpectMessage(prompt, Buttons::kYesNoCancelDefaultNo, Icon::kNone, kNoTitle, answer);
  }
  std::unique_ptr<frmClasses> window_;
};

TEST_F(ClassesWindowTest, ButtonStatesFromOpeningToClosing) {
  dir.Write(kClassesFile, ClassRec("Geometry", "060", "2") + ClassRec("Algebra", "070", "1"));
  dir.Write(kStudentsFile, StudentRec("Bob", "2", "1") + StudentRec("Ann", "1", "1"));
  Open();
  EXPECT_EQ(window_->windowTitle(), "Quillon Student Recordkeeping System - CLASSES AND ROSTERS");
  EXPECT_EQ(d().Shown("lstClasses"), (std::vector<std::string>{"Algebra", "Geometry"}));
  EXPECT_EQ(Buttons(), "10100000");
  EXPECT_FALSE(d().Enabled("cmdChangePassingGrade"));
  EXPECT_EQ(d().Text("Label2"), "Passing Grade for Selected Class:");

  d().Select("lstClasses", 1);  // Geometry: no students
  EXPECT_TRUE(d().Items("lstStudents").empty());
  EXPECT_EQ(Buttons(), "11111000");
  EXPECT_TRUE(d().Enabled("cmdChangePassingGrade"));  // the first option chosen

  d().Select("lstClasses", 0);  // Algebra
  EXPECT_EQ(d().Items("lstStudents"),
            (std::vector<std::string>{StudentRec("Ann", "1", "1"), StudentRec("Bob", "2", "1")}));
  EXPECT_EQ(Buttons(), "11111010");
  d().Select("lstStudents", 0);
  EXPECT_EQ(Buttons(), "11111111");

  // After a single delete the roster has no selection, yet the two
  // buttons stay enabled and then say nothing is selected.
  ExpectConfirm("Are you sure you want to delete this student?\r\rAnn", Answer::kYes);
  d().Click("cmdStudent", 1);
  EXPECT_EQ(d().Items("lstStudents"), (std::vector<std::string>{StudentRec("Bob", "2", "1")}));
  EXPECT_EQ(Buttons(), "11111111");
  dialogs.ExpectMessage("You must select a student to delete from the class roster.", Buttons::kOk,
                        Icon::kNone, Title::Default(), Answer::kOk);
  d().Click("cmdStudent", 1);
  dialogs.ExpectMessage("You must select a student from the class roster.", Buttons::kOk,
                        Icon::kNone, Title::Default(), Answer::kOk);
  d().Click("cmdStudent", 3);

  ExpectConfirm("Are you sure you want to delete ALL students from this class?\r\rAlgebra",
                Answer::kYes);
  d().Click("cmdStudent", 2);
  EXPECT_EQ(Buttons(), "11111000");
  EXPECT_EQ(d().Selected("lstClasses"), 0);  // the class stays selected

  ExpectStudentDialog("Add Student",
                      "Enter name and password for student you would like to add to Algebra", "Cy",
                      "CY1");
  d().Click("cmdStudent", 0);
  EXPECT_EQ(Buttons(), "11111010");

  d().Click("cmdMenu");
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(dialogs.Done());
}

// The keyboard, as an instructor who tabs about meets it: the focus moves
// into a list without selecting (so "Print Log-in Slips" still prints the
// whole class), End and Home from no selection go to the last and the first
// item, and after a deletion the focus is on the list that changed, never
// on the button beside the one pressed.
TEST_F(ClassesWindowTest, TheKeysNeverSelectOrMoveTheFocusBehindTheUsersBack) {
  dir.Write(kClassesFile, ClassRec("Algebra", "070", "1") + ClassRec("Geometry", "060", "2") +
                              ClassRec("Trigonometry", "060", "3"));
  dir.Write(kStudentsFile,
            StudentRec("Ann", "1", "1") + StudentRec("Bob", "2", "1") + StudentRec("Cy", "3", "1"));
  Open();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  auto& classes = d().Get<QListWidget>("lstClasses");
  auto& roster = d().Get<QListWidget>("lstStudents");
  classes.setFocus(Qt::TabFocusReason);
  EXPECT_EQ(d().Selected("lstClasses"), -1);
  QTest::keyClick(&classes, Qt::Key_End);
  EXPECT_EQ(d().Selected("lstClasses"), 2);  // Trigonometry, not the first
  QTest::keyClick(&classes, Qt::Key_Home);
  EXPECT_EQ(d().Selected("lstClasses"), 0);  // Algebra
  EXPECT_EQ(d().Shown("lstStudents"), (std::vector<std::string>{"Ann", "Bob", "Cy"}));

  roster.setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(roster.hasFocus());
  EXPECT_EQ(d().Selected("lstStudents"), -1);
  EXPECT_EQ(roster.currentRow(), -1);
  EXPECT_EQ(Buttons(), "11111010");
  d().Click("cmdPrintSlips");
  ASSERT_EQ(printer.documents.size(), 1u);
  int slips = 0;
  for (const auto& line : printer.documents[0][0].lines)
    slips += line.text.rfind("Student:", 0) == 0;
  EXPECT_EQ(slips, 3);  // the whole class
  QTest::keyClick(&roster, Qt::Key_End);
  EXPECT_EQ(d().Selected("lstStudents"), 2);  // Cy

  d().Focus("cmdStudent1");
  ExpectConfirm("Are you sure you want to delete this student?\r\rCy", Answer::kYes);
  d().Click("cmdStudent", 1);
  EXPECT_EQ(d().Shown("lstStudents"), (std::vector<std::string>{"Ann", "Bob"}));
  EXPECT_EQ(QApplication::focusWidget(), &roster);
  EXPECT_EQ(d().Selected("lstStudents"), -1);

  d().Focus("cmdClass1");
  ExpectConfirm("Are you sure you want to delete this class?\r\rAlgebra", Answer::kYes);
  d().Click("cmdClass", 1);
  EXPECT_EQ(d().Shown("lstClasses"), (std::vector<std::string>{"Geometry", "Trigonometry"}));
  EXPECT_EQ(QApplication::focusWidget(), &classes);  // not "Erase All Classes"
  EXPECT_EQ(d().Selected("lstClasses"), -1);
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(ClassesWindowTest, ClassOperationsAndTheBytesTheyLeave) {
  dir.Write(kClassesFile, ClassRec("One", "060", "1") + ClassRec("Two", "070", "2") +
                              ClassRec("Four", "080", "4"));
  const std::string ann = StudentRec("Ann", "1", "1"), bob = StudentRec("Bob", "1", "2"),
                    cy = StudentRec("Cy", "2", "1");
  dir.Write(kStudentsFile, ann + bob + cy);
  const std::string r1 = ActRec("C1", "1", "1", "010126", "01", "01", "5", "5", "5"),
                    r2 = ActRec("C1", "2", "1", "010126", "01", "01", "5", "5", "5");
  dir.Write(kRecordsFile, r1 + r2 + r1);
  dir.Write(kDiagFile, std::string(72, 'd'));
  Open();

  // A new class takes the lowest free number: 3, stored "3 ", grade "060";
  // the name as typed, leading blanks kept, cut to 27.
  dialogs.ExpectInput("Type the name of the class you would like to create:", "Create New Class",
                      "  Thirty characters in a name!");
  d().Click("cmdClass", 0);
  EXPECT_EQ(dir.Read(kClassesFile), ClassRec("One", "060", "1") + ClassRec("Two", "070", "2") +
                                        ClassRec("Four", "080", "4") +
                                        "  Thirty characters in a na" + "060" + "3 ");

  // Renaming keeps the number and grade; prompts show the first 25
  // characters, trimmed.
  d().Select("lstClasses", 0);  // "  Thirty..." sorts first (blank)
  dialogs.ExpectInput("Type the new name for the following class:\r\rThirty characters in a",
                      "Edit Class", "Three");
  d().Click("cmdClass", 3);
  EXPECT_EQ(dir.Read(kClassesFile).substr(96), ClassRec("Three", "060", "3"));
  EXPECT_EQ(Buttons(), "10100000");  // reloaded without a selection

  // No and Cancel change nothing.
  d().Select("lstClasses", 1);  // One
  ExpectConfirm("Are you sure you want to delete this class?\r\rOne", Answer::kNo);
  d().Click("cmdClass", 1);
  d().Select("lstClasses", 1);
  ExpectConfirm("Are you sure you want to delete this class?\r\rOne", Answer::kCancel);
  d().Click("cmdClass", 1);
  dialogs.ExpectInput("Type the name of the class you would like to create:", "Create New Class",
                      "");  // cancelled
  d().Click("cmdClass", 0);
  EXPECT_EQ(dir.Read(kRecordsFile), r1 + r2 + r1);

  // Deleting class 1: its records, its students, then the class; the
  // temporary files hold what was kept; Diag.dat untouched.
  d().Select("lstClasses", 1);
  ExpectConfirm("Are you sure you want to delete this class?\r\rOne", Answer::kYes);
  d().Click("cmdClass", 1);
  EXPECT_EQ(dir.Read(kRecordsFile), r2);
  EXPECT_EQ(dir.Read("RECORDS.TMP"), r2);
  EXPECT_EQ(dir.Read(kStudentsFile), bob);  // Ann and Cy were in class 1
  EXPECT_EQ(dir.Read("STUDENTS.TMP"), bob);
  const std::string after =
      ClassRec("Two", "070", "2") + ClassRec("Four", "080", "4") + ClassRec("Three", "060", "3");
  EXPECT_EQ(dir.Read(kClassesFile), after);
  EXPECT_EQ(dir.Read("CLASSES.TMP"), after);
  EXPECT_EQ(dir.Read(kDiagFile), std::string(72, 'd'));

  // Number 1 is free again.
  dialogs.ExpectInput("Type the name of the class you would like to create:", "Create New Class",
                      "New");
  d().Click("cmdClass", 0);
  EXPECT_EQ(dir.Read(kClassesFile), after + ClassRec("New", "060", "1"));

  ExpectConfirm("Are you sure you want to delete ALL classes?", Answer::kYes);
  d().Click("cmdClass", 2);
  EXPECT_EQ(dir.Read(kClassesFile), "");
  EXPECT_EQ(dir.Read(kStudentsFile), "");
  EXPECT_EQ(dir.Read(kRecordsFile), "");
  EXPECT_EQ(dir.Read(kDiagFile), std::string(72, 'd'));
  EXPECT_EQ(Buttons(), "10000000");
}

TEST_F(ClassesWindowTest, StudentOperationsAndTheBytesTheyLeave) {
  dir.Write(kClassesFile, ClassRec("A class whose name is long", "060", "3"));
  dir.Write(kStudentsFile, StudentRec("Ann", "1", "3") + StudentRec("Bob", "2", "3") +
                               StudentRec("Dee", "4", "3") + StudentRec("Eve", "3", "5"));
  Open();
  d().Select("lstClasses", 0);
  // Student 3 is free in class 3; the name trimmed, cut to 21; the password
  // scrambled. The prompt names the class cut to 25 characters.
  ExpectStudentDialog("Add Student",
                      "Enter name and password for student you would like to add to "
                      "A class whose name is lon",
                      "  Christopher Columbus Smith  ", "ab12");
  d().Click("cmdStudent", 0);
  EXPECT_EQ(dir.Read(kStudentsFile).substr(124),
            std::string("Christopher Columbus ") + "3 3 " + ";<" + "    ");  // "12" scrambled
  EXPECT_EQ(Buttons(), "11111010");

  // Editing shows the name and the password in clear and keeps the numbers.
  d().Select("lstStudents", 1);  // Bob
  ExpectStudentDialog("Edit Student",
                      "Edit name and/or password for student in A class whose name is lon",
                      "Robert", "XYZ", "Bob", "");
  d().Click("cmdStudent", 3);
  EXPECT_EQ(dir.Read(kStudentsFile).substr(31, 31), StudentRec("Robert", "2", "3", "bcd   "));
  EXPECT_EQ(Buttons(), "11111010");

  // Cancel or a blank name writes nothing; a blank name is said.
  const std::string before = dir.Read(kStudentsFile);
  d().Select("lstStudents", 0);
  dialogs.ExpectModal<frmStudentName>([this](frmStudentName& w) { Drive(w).Click("cmdCancel"); });
  d().Click("cmdStudent", 3);
  d().Select("lstStudents", 0);
  ExpectStudentDialog("Edit Student",
                      "Edit name and/or password for student in A class whose name is lon", "   ",
                      "", "Ann", "");
  dialogs.ExpectMessage("Enter the student's name.", Buttons::kOk, Icon::kNone, Title::Default(),
                        Answer::kOk);  // and the dialog stays open until cancelled
  d().Click("cmdStudent", 3);
  EXPECT_EQ(dir.Read(kStudentsFile), before);
}

TEST_F(ClassesWindowTest, AClassOf99StudentsHasNoRoomAndNoNumberAbove99) {
  std::string students;
  for (int n = 1; n <= 99; ++n) students += StudentRec("S", std::to_string(n), "1");
  dir.Write(kStudentsFile, students);
  std::string classes;
  for (int n = 1; n <= 99; ++n)
    classes += ClassRec("C" + std::to_string(n), "060", std::to_string(n));
  dir.Write(kClassesFile, classes);
  Open();
  d().Select("lstClasses", 0);  // "C1"
  dialogs.ExpectMessage(
      "There is no room in this class for more students.  \rYou will need to add the student to "
      "a different class.",
      Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  d().Click("cmdStudent", 0);
  dialogs.ExpectInput("Type the name of the class you would like to create:", "Create New Class",
                      "One too many");
  dialogs.ExpectMessage(
      "There is no room for more classes: the class numbers 1 to 99 are all in use.\rYou will "
      "need to delete a class first.",
      Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  d().Click("cmdClass", 0);
  EXPECT_EQ(dir.Read(kStudentsFile), students);
  EXPECT_EQ(dir.Read(kClassesFile), classes);
}

TEST_F(ClassesWindowTest, PassingGradeShownChosenAndStored) {
  dir.Write(kClassesFile, ClassRec("A", "075", "1") + ClassRec("B", "105", "2") +
                              ClassRec("C", "   ", "3") + ClassRec("D", "065", "4"));
  Open();
  struct Case {
    int row;
    const char* label;
    int option;
  } cases[] = {{0, "Passing Grade for Selected Class: 75%", 4},
               {1, "Passing Grade for Selected Class: 105%", 1},
               {2, "Passing Grade for Selected Class: 60%", 2},
               {3, "Passing Grade for Selected Class: 65%", 2}};
  for (const Case& c : cases) {
    d().Select("lstClasses", c.row);
    EXPECT_EQ(d().Text("Label2"), c.label) << c.row;
    EXPECT_TRUE(d().Checked("optPassingGrade", c.option)) << c.row;
  }
  // 065 after 060 left the "60%" option as it was: the grade is the class's.
  EXPECT_EQ(values.PassingGrade, 65);
  d().Select("lstClasses", 0);
  EXPECT_EQ(values.PassingGrade, 80);  // "80%" chosen by the change of option

  d().Option("optPassingGrade", 5);
  d().Click("cmdChangePassingGrade");
  EXPECT_EQ(dir.Read(kClassesFile).substr(0, 32), ClassRec("A", "090", "1"));
  EXPECT_EQ(d().Selected("lstClasses"), 0);  // still selected
  EXPECT_EQ(d().Text("Label2"), "Passing Grade for Selected Class: 90%");
  d().Option("optPassingGrade", 6);
  d().Click("cmdChangePassingGrade");
  EXPECT_EQ(dir.Read(kClassesFile).substr(0, 32), ClassRec("A", "100", "1"));
}

TEST_F(ClassesWindowTest, AWriteThatFailsNamesTheFileAndTheListShowsTheDisk) {
  dir.Write(kClassesFile, ClassRec("One", "060", "1"));
  testing::FaultyFolder full(&dir.folder(), -1, testing::FaultyFolder::Mode::kFail);
  full.fail_if = [](const std::string& what) {
    return what.find(" CLASSES.DAT") != std::string::npos && what.rfind("Write", 0) == 0;
  };
  frmClasses window({full, dialogs, clock, printer, values});
  window.show();
  auto w = Drive(window);
  dialogs.ExpectInput("Type the name of the class you would like to create:", "Create New Class",
                      "Two");
  dialogs.ExpectMessage(
      "The change could not be saved.\r\r" + dir.path() + "/CLASSES.DAT: injected fault; nothing "
                                                          "was added",
      Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  w.Click("cmdClass", 0);
  EXPECT_EQ(w.Items("lstClasses"), std::vector<std::string>{ClassRec("One", "060", "1")});
  EXPECT_EQ(dir.Read(kClassesFile), ClassRec("One", "060", "1"));
}

TEST_F(ClassesWindowTest, AStudentWithoutANumberIsNeverTakenForTheWholeClass) {
  dir.Write(kClassesFile, ClassRec("One", "060", "1"));
  const std::string roster = StudentRec("Ann", "1", "1") + StudentRec("Nobody", "  ", "1");
  dir.Write(kStudentsFile, roster);
  const std::string records = ActRec("C1", "1", "1", "010126", "01", "01", "5", "5", "5");
  dir.Write(kRecordsFile, records);
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 1);  // Nobody: 0 would mean every student of class 1
  for (int button : {1, 3}) {    // delete, edit: refused before any question
    dialogs.ExpectMessage(
        "This student has no student number in the file, so the student "
        "cannot be told apart from the rest of the class.\r\n\r\nNothing was "
        "changed.",
        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
    d().Click("cmdStudent", button);
  }
  EXPECT_EQ(dir.Read(kStudentsFile), roster);
  EXPECT_EQ(dir.Read(kRecordsFile), records);
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(ClassesWindowTest, NeitherCtrlClickNorEnterLeavesTheListsWithoutASelection) {
  dir.Write(kClassesFile, ClassRec("One", "060", "1") + ClassRec("Two", "060", "2"));
  Open();
  d().Select("lstClasses", 1);
  auto& list = d().Get<QListWidget>("lstClasses");
  const QPoint row = list.visualItemRect(list.item(1)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, row);
  EXPECT_EQ(d().Selected("lstClasses"), 1);
  EXPECT_EQ(Buttons(), "11111000");
  // Enter presses no button: no question is asked, nothing is written.
  const std::string before = dir.Read(kClassesFile);
  d().Key("lstClasses", Qt::Key_Return);
  EXPECT_EQ(dir.Read(kClassesFile), before);
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(ClassesWindowTest, AStoredPasswordOutsideTheTypingRuleIsKeptOnEdit) {
  dir.Write(kClassesFile, ClassRec("One", "060", "1"));
  const std::string stored = "kl7;";  // "ab-1" scrambled
  dir.Write(kStudentsFile, StudentRec("Ann", "1", "1", stored));
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 0);
  dialogs.ExpectModal<frmStudentName>([this](frmStudentName& w) {
    auto s = Drive(w);
    EXPECT_EQ(s.Text("Text2"), "ab-1");
    s.Get<QLineEdit>("Text1").setText("Anne");
    s.Click("cmdOK");
  });
  d().Click("cmdStudent", 3);
  EXPECT_EQ(dir.Read(kStudentsFile), StudentRec("Anne", "1", "1", stored));
}

TEST_F(ClassesWindowTest, ThePasswordBoxTakesDigitsAndCapitalsOnly) {
  frmStudentName dialog(services());
  dialog.show();
  auto s = Drive(dialog);
  s.Type("Text2", "ab12");
  EXPECT_EQ(s.Text("Text2"), "12");
  s.Get<QLineEdit>("Text2").clear();
  s.Type("Text2", "ABCDEFG");
  EXPECT_EQ(s.Text("Text2"), "ABCDEF");  // at most 6
  s.Get<QLineEdit>("Text2").setCursorPosition(1);
  s.Key("Text2", Qt::Key_Backspace);  // the last character, wherever the caret is
  EXPECT_EQ(s.Text("Text2"), "ABCDE");
  EXPECT_EQ(s.Text("Label3"),
            " Password must be 0 to 6         characters.  Use uppercase    letters A-Z and "
            "numbers 0-9.");
  // A character without a single-byte spelling is named beside the name;
  // the dialog stays for a correction.
  auto& notice = s.Get<QLabel>("lblNotice");
  EXPECT_TRUE(notice.isHidden());
  s.Get<QLineEdit>("Text1").setText(QString::fromUtf8("Zo\xC3\xAB \xE2\x82\xAC"));
  s.Click("cmdOK");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.Answer());
  EXPECT_EQ(notice.text().toUtf8().toStdString(),
            "\xE2\x82\xAC cannot be stored: the files hold only the letters of Western European "
            "languages. Correct the text.");
  EXPECT_FALSE(notice.isHidden());
  EXPECT_EQ(s.Get<QLineEdit>("Text1").text().toUtf8().toStdString(), "Zo\xC3\xAB \xE2\x82\xAC");
  // A letter with one: the nearest spelling is put in its place and said;
  // OK again keeps it.
  s.Get<QLineEdit>("Text1").setText(
      QString::fromUtf8("Zo\xC3\xAB Ay\xC5\x9F"
                        "e"));
  s.Click("cmdOK");
  EXPECT_FALSE(dialog.Answer());
  EXPECT_EQ(notice.text().toUtf8().toStdString(),
            "\xC5\x9F cannot be stored, so it is written as s: \"Zo\xC3\xAB Ayse\". Press OK to "
            "keep this spelling, or correct it.");
  EXPECT_EQ(s.Text("Text1"), "Zo\xEB Ayse");
  EXPECT_EQ(dialog.focusWidget(), &s.Get<QLineEdit>("Text1"));
  s.Click("cmdOK");
  ASSERT_TRUE(dialog.Answer());
  EXPECT_EQ(dialog.Answer()->StudentDialogName, "Zo\xEB Ayse");
  EXPECT_EQ(dialog.Answer()->StudentDialogPassword, "ABCDE");
  EXPECT_TRUE(dialogs.Done());
}

}  // namespace
}  // namespace quillon

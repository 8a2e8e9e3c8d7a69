#include <QDialog>
#include <QLabel>

#include "gui/GuiFixture.h"
#include "shell/Application.h"
#include "shell/frmMenu.h"
#include "support/Builders.h"

namespace quillon {
namespace {

using testing::ProgramEnded;

class MenuTest : public testing::GuiTest {};

TEST_F(MenuTest, FourUsableButtonsTheOthersHiddenAndDisabled) {
  dir.Write("Diag.dat", "");
  frmMenu menu(services());
  menu.Form_Load();
  EXPECT_EQ(menu.windowTitle(), "Quillon Student Recordkeeping System - MENU");
  EXPECT_EQ(Find<QLabel>(menu, "Label1")->text(), "Quillon Student Recordkeeping System");
  struct Expect {
    const char* name;
    const char* caption;
    bool visible, enabled;
  } buttons[] = {
      {"cmdClasses", " Managing Classes and Student Rosters", true, true},
      {"cmdStudents", "Displaying and Managing Student Records", true, true},
      {"cmdDiagnostics", "Displaying and Managing Diagnostic Test Results", true, true},
      {"cmdOutput", "Output Student Records to File", false, false},
      {"cmdAnalysis", "&Analysis of Student Performance", false, false},
      {"cmdExit", "End Program", true, true},
  };
  menu.show();
  for (const Expect& b : buttons) {
    QPushButton* button = Find<QPushButton>(menu, b.name);
    EXPECT_EQ(button->text(), b.caption);
    EXPECT_EQ(button->isVisible(), b.visible) << b.name;
    EXPECT_EQ(button->isEnabled(), b.enabled) << b.name;
  }
  EXPECT_EQ(values.InitialClassIndex, -1);
}

TEST_F(MenuTest, NoDiagDatDisablesDiagnosticsForTheWholeRun) {
  frmMenu menu(services());
  menu.Form_Load();
  QPushButton* diagnostics = Find<QPushButton>(menu, "cmdDiagnostics");
  EXPECT_FALSE(diagnostics->isEnabled());
  dir.Write("Diag.dat", "");
  EXPECT_FALSE(diagnostics->isEnabled());
}

TEST_F(MenuTest, TaskWindowsOpenModallyAndReturnToTheMenu) {
  dir.Write("Diag.dat", "");
  frmMenu menu(services());
  menu.Form_Load();
  struct Task {
    const char* button;
    const char* window;
    const char* caption;
  } tasks[] = {
      {"cmdClasses", "frmClasses", "Quillon Student Recordkeeping System - CLASSES AND ROSTERS"},
      {"cmdStudents", "frmStudents", "Quillon Student Recordkeeping System - STUDENT RECORDS"},
      {"cmdDiagnostics", "frmDiagnostics",
       "Quillon Student Recordkeeping System - DIAGNOSTIC TEST RESULTS"},
  };
  for (const Task& t : tasks) {
    bool returned = false;
    dialogs.ExpectModal(t.window, [&](QDialog& window) {
      EXPECT_EQ(window.windowTitle(), t.caption);
      Find<QPushButton>(window, "cmdMenu")->click();
      returned = !window.isVisible();
    });
    Find<QPushButton>(menu, t.button)->click();
    EXPECT_TRUE(returned) << t.window;
  }
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(MenuTest, EndProgramEnds) {
  frmMenu menu(services());
  menu.Form_Load();
  EXPECT_THROW(Find<QPushButton>(menu, "cmdExit")->click(), ProgramEnded);
}

TEST_F(MenuTest, StartUpLoadsTheCatalogueOrEndsNamingTheFile) {
  dir.Write("LESSONS.DAT", testing::MinimalLessons());
  auto menu = Main(services());
  EXPECT_EQ(values.DataGroup, 1);
  EXPECT_EQ(values.Catalogue.UnitLessonTitles[3][1][1], "C3 U1 L1");

  testing::TempFolder empty;
  testing::ScriptedDialogs dialogs2;
  SharedValues values2;
  dialogs2.ExpectMessage("The program cannot start.\r\n\r\n" + empty.path() +
                             "/LESSONS.DAT:\r\nthe lesson catalogue is missing from the program "
                             "folder",
                         Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  EXPECT_THROW(Main({empty.folder(), dialogs2, clock, values2}), ProgramEnded);

  empty.Write("LESSONS.DAT", "\"h\",99");
  dialogs2.ExpectMessage("The program cannot start.\r\n\r\n" + empty.path() +
                             "/LESSONS.DAT:\r\nthe units block of course C1: the number of units "
                             "(line 1) is 99, above the limit of 14",
                         Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  EXPECT_THROW(Main({empty.folder(), dialogs2, clock, values2}), ProgramEnded);
}

}  // namespace
}  // namespace quillon

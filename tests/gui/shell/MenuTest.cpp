#include <QDialog>
#include <QPushButton>
#include <algorithm>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "gui/shell/Application.h"
#include "gui/shell/frmMenu.h"
#include "store/Pending.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/StoreSteps.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

class MenuTest : public testing::GuiTest {};

TEST_F(MenuTest, FourUsableButtonsTheOthersHiddenAndDisabled) {
  dir.Write("Diag.dat", "");
  frmMenu menu(services());
  menu.Form_Load();
  menu.show();
  auto d = Drive(menu);
  EXPECT_EQ(menu.windowTitle(), "Quillon Student Recordkeeping System - MENU");
  EXPECT_EQ(d.Text("Label1"), "Quillon Student Recordkeeping System");
  EXPECT_EQ(d.Text("lblFolder"), "Program folder: " + dir.path());  // a lab may have several
  struct Expect {
    const char* name;
    const char* caption;
    bool visible, enabled;
  } buttons[] = {
      {"cmdClasses", " Managing Classes and Student Rosters", true, true},
      {"cmdStudents", "Displaying and Managing Student Records", true, true},
      {"cmdDiagnostics", "Displaying and Managing Diagnostic Test Results", true, true},
      {"cmdLab", "Lab Now", true, true},
      {"cmdRestore", "Restore Erased Records", true, false},  // the bin is empty
      {"cmdOutput", "Output Student Records to File", false, false},
      {"cmdAnalysis", "&Analysis of Student Performance", false, false},
      {"cmdExit", "End Program", true, true},
  };
  for (const Expect& b : buttons) {
    EXPECT_EQ(d.Text(b.name), b.caption);
    EXPECT_EQ(d.Visible(b.name), b.visible) << b.name;
    EXPECT_EQ(d.Enabled(b.name), b.enabled) << b.name;
  }
  // Top to bottom: the specified buttons in their order, Lab Now and the
  // bin's below the task buttons, End Program last.
  std::vector<std::pair<int, std::string>> shown;
  for (QPushButton* b : menu.findChildren<QPushButton*>()) {
    if (b->isVisible()) shown.emplace_back(b->y(), b->objectName().toStdString());
  }
  std::sort(shown.begin(), shown.end());
  std::string order;
  for (const auto& [y, name] : shown) order += (order.empty() ? "" : " ") + name;
  EXPECT_EQ(order, "cmdClasses cmdStudents cmdDiagnostics cmdLab cmdRestore cmdExit");
  EXPECT_EQ(values.InitialClassIndex, -1);
}

TEST_F(MenuTest, DiagDatIsLookedForOnlyAtStartUp) {
  frmMenu menu(services());
  menu.Form_Load();
  menu.show();
  auto d = Drive(menu);
  EXPECT_FALSE(d.Enabled("cmdDiagnostics"));
  // Created during the run: the menu, shown again after a task window, still
  // has the button disabled; the next start enables it.
  dir.Write("Diag.dat", "");
  dialogs.ExpectModal("frmClasses", [](QDialog& window) { window.accept(); });
  d.Click("cmdClasses");
  menu.hide();
  menu.show();
  EXPECT_FALSE(d.Enabled("cmdDiagnostics"));
  frmMenu next(services());
  next.Form_Load();
  EXPECT_TRUE(Drive(next).Enabled("cmdDiagnostics"));
}

TEST_F(MenuTest, TaskWindowsOpenModallyAndReturnToTheMenu) {
  dir.Write("Diag.dat", "");
  frmMenu menu(services());
  menu.Form_Load();
  menu.show();
  struct Task {
    const char* button;
    const char* window;
    const char* caption;
  } tasks[] = {
      {"cmdClasses", "frmClasses", "Quillon Student Recordkeeping System - CLASSES AND ROSTERS"},
      {"cmdStudents", "frmStudents", "Quillon Student Recordkeeping System - STUDENT RECORDS"},
      {"cmdDiagnostics", "frmDiagnostics",
       "Quillon Student Recordkeeping System - DIAGNOSTIC TEST RESULTS"},
      {"cmdLab", "frmLab", "Quillon Student Recordkeeping System - LAB NOW"},
  };
  for (const Task& t : tasks) {
    bool returned = false;
    dialogs.ExpectModal(t.window, [&](QDialog& window) {
      EXPECT_EQ(window.windowTitle(), t.caption);
      Drive(window).Click("cmdMenu");
      returned = !window.isVisible();
    });
    Drive(menu).Click(t.button);
    EXPECT_TRUE(returned) << t.window;
  }
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(MenuTest, RestoreErasedRecordsIsEnabledWhileTheBinHoldsAnEntry) {
  dir.Write(kClassesFile, testing::ClassRec("Algebra", "070", "3"));
  dir.Write(kStudentsFile, testing::StudentRec("Ann", "1", "3"));
  dir.Write(kRecordsFile, testing::ActRec("C1", "3", "1", "091526", "01", "01", "10", "9", "25"));
  frmMenu menu(services());
  menu.Form_Load();
  menu.show();
  auto d = Drive(menu);
  EXPECT_FALSE(d.Enabled("cmdRestore"));
  // An erase in a task window: enabled when the menu comes back.
  dialogs.ExpectModal("frmStudents", [this](QDialog& window) {
    auto w = Drive(window);
    w.Select("lstClasses", 0);
    dialogs.ExpectMessage(
        "Are you sure you want to erase the records for ALL students in this class?\r\rAlgebra",
        Buttons::kYesNoCancelDefaultNo, Icon::kNone, Title::Text(""), Answer::kYes);
    w.Click("cmdAll", 2);
  });
  d.Click("cmdStudents");
  EXPECT_EQ(dir.Read(kRecordsFile), "");
  EXPECT_TRUE(d.Enabled("cmdRestore"));
  // The entry deleted in the restore window: disabled again.
  dialogs.ExpectModal("frmRestore", [this](QDialog& window) {
    auto w = Drive(window);
    w.Select("lstErased", 0);
    dialogs.ExpectMessage(
        "Are you sure you want to delete these erased records for good? They cannot be restored "
        "afterwards.\r\n\r\n12/09/26 00:00  Records of all students in Algebra  (1 activity "
        "record)",
        Buttons::kYesNoDefaultNo, Icon::kNone, Title::Default(), Answer::kYes);
    w.Click("cmdDelete");
    w.Click("cmdMenu");
  });
  d.Click("cmdRestore");
  EXPECT_FALSE(d.Enabled("cmdRestore"));
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(MenuTest, EndProgramEnds) {
  frmMenu menu(services());
  menu.Form_Load();
  menu.show();
  Drive(menu).Click("cmdExit");
  EXPECT_TRUE(dialogs.ended);
  EXPECT_EQ(dialogs.exit_status, kExitDone);
}

TEST_F(MenuTest, StartUpLoadsTheCatalogueOrEndsNamingTheFile) {
  dir.Write("LESSONS.DAT", testing::MinimalLessons());
  auto menu = Main(services());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(values.DataGroup, 1);
  EXPECT_EQ(values.Catalogue.UnitLessonTitles[3][1][1], "C3 U1 L1");

  struct Case {
    std::string lessons;  // "" for no file
    std::string message;
  } cases[] = {
      {"", "the lesson catalogue is missing from the program folder"},
      {"\"h\",99",
       "the units block of course C1: the number of units (line 1) is 99, not a count from 0 to "
       "14"},
  };
  for (const Case& c : cases) {
    testing::TempFolder folder;
    if (!c.lessons.empty()) folder.Write("LESSONS.DAT", c.lessons);
    testing::ScriptedDialogs dialogs2;
    SharedValues values2;
    dialogs2.ExpectMessage(
        "The program cannot start.\r\n\r\n" + folder.path() + "/LESSONS.DAT:\r\n" + c.message,
        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
    EXPECT_EQ(Main({folder.folder(), dialogs2, clock, printer, values2}), nullptr);
    EXPECT_EQ(dialogs2.exit_status, kExitFileProblem);
  }
}

TEST_F(MenuTest, StartUpFinishesARemovalThatWasCutShort) {
  dir.Write("LESSONS.DAT", testing::MinimalLessons());
  const std::string keep = testing::ActRec("C1", "1", "1", "010126", "01", "01", "1", "1", "1"),
                    gone = testing::ActRec("C1", "3", "1", "010126", "01", "01", "1", "1", "1");
  dir.Write(kRecordsFile, gone + keep);
  testing::FaultyFolder faulty(&dir.folder(), -1, testing::FaultyFolder::Mode::kCrash);
  faulty.before = [](int, const std::string& what) {
    if (what == "Sync RECORDS.DAT") throw testing::Crash{};  // the program dies mid-way
  };
  EXPECT_THROW((void)testing::PurgeRecordsNow(faulty, Students::WholeClass(ClassNum(3))),
               testing::Crash);
  ASSERT_NE(dir.Read(kRecordsFile), keep);
  dialogs.ExpectMessage(
      "A removal of records from RECORDS.DAT was interrupted; it has now been finished.",
      Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  auto menu = Main(services());
  EXPECT_NE(menu, nullptr);
  EXPECT_EQ(dir.Read(kRecordsFile), keep);
}

}  // namespace
}  // namespace quillon

// The student records window and the records display window, driven as an
// instructor would.
#include <QRadioButton>
#include <filesystem>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "gui/records/frmDisplay.h"
#include "gui/records/frmStudents.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;
using Lines = std::vector<std::string>;

const std::string a1 = ActRec("C1", "3", "1", "091526", "01", "01", "10", "9", "25");   // 90
const std::string a2 = ActRec("C1", "3", "1", "090126", "01", "51", "10", "5", "5");    // test, 50
const std::string a3 = ActRec("C1", "3", "1", "092026", "01", "02", "10", "7", "5");    // 70
const std::string b1 = ActRec("C1", "3", "2", "091026", "51", "00", "20", "19", "30");  // test
const std::string b2 = ActRec("C1", "3", "2", "091026", "01", "01", "4", "4", "3");

class RecordsWindowsTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write(kClassesFile, ClassRec("Algebra", "070", "3") + ClassRec("Empty", "   ", "4") +
                                ClassRec("Quiet", "060", "5"));
    dir.Write(kStudentsFile, StudentRec("Ann", "1", "3") + StudentRec("Bob", "2", "3") +
                                 StudentRec("Cy", "3", "3") + StudentRec("Dee", "1", "5"));
    dir.Write(kRecordsFile, a1 + a2 + a3 + b1 + b2);
  }
  frmStudents& Open() {
    window_ = std::make_unique<frmStudents>(services());
    window_->show();
    return *window_;
  }
  testing::WindowDriver d() { return Drive(*window_); }
  std::string Buttons() { return d().States("cmdAll", 0, 2) + d().States("cmdSelected", 0, 2); }
  // "name date percent" of each line of the display window's list.
  static Lines Shown(testing::WindowDriver& w) {
    Lines out;
    for (const std::string& l : w.Items("lstRecords")) {
      out.push_back(TrimRight(l.substr(0, 16)) + " " + l.substr(17, 6) + " " +
                    Trim(l.substr(83, 4)));
    }
    return out;
  }
  void ExpectNoRecords() {
    dialogs.ExpectMessage("No records found.", Buttons::kOk, Icon::kNone, Title::Default(),
                          Answer::kOk);
  }
  std::unique_ptr<frmStudents> window_;
};

TEST_F(RecordsWindowsTest, ButtonStatesFollowTheSelection) {
  Open();
  EXPECT_EQ(window_->windowTitle(), "Quillon Student Recordkeeping System - STUDENT RECORDS");
  EXPECT_EQ(Buttons(), "000000");
  d().Select("lstClasses", 1);  // Empty: no students
  EXPECT_EQ(Buttons(), "000000");
  EXPECT_EQ(values.PassingGrade, 60);  // a blank grade field
  d().Select("lstClasses", 0);
  EXPECT_EQ(values.PassingGrade, 70);
  EXPECT_EQ(Buttons(), "111000");
  d().Select("lstStudents", 0);
  EXPECT_EQ(Buttons(), "111111");
  EXPECT_EQ(values.UnitTestNames.Name(5, 3), "Right Triangles");  // filled at load
}

TEST_F(RecordsWindowsTest, OneStudentByDateThenByPercent) {
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 0);  // Ann
  dialogs.ExpectModal<frmDisplay>([this](frmDisplay& window) {
    auto w = Drive(window);
    EXPECT_EQ(window.windowTitle(), "STUDENT RECORDS: Ann");
    EXPECT_TRUE(w.Checked("optSort", 2));
    EXPECT_FALSE(w.Enabled("optSort", 0));
    EXPECT_EQ(Shown(w), (Lines{"Ann 090126 50", "Ann 091526 90", "Ann 092026 70"}));
    EXPECT_EQ(w.Text("lblTestPassingGradeComment"),
              " ** - The passing grade for a test is 70 percent ");
    EXPECT_EQ(w.Text("lblPracticeGradeComment"),
              " * - Practice grades are given when 5 or more problems are attempted ");
    w.Option("optSort", 1);
    EXPECT_EQ(Shown(w), (Lines{"Ann 090126 50", "Ann 092026 70", "Ann 091526 90"}));
    EXPECT_FALSE(w.Enabled("optSort", 0));
    w.Option("optSortDir", 1);
    EXPECT_EQ(Shown(w), (Lines{"Ann 091526 90", "Ann 092026 70", "Ann 090126 50"}));
    w.Click("cmdOK");
  });
  d().Click("cmdSelected", 0);
  EXPECT_EQ(values.SortDirection, 1);  // kept for the next display and the printout

  // The kept direction shows when the next window opens.
  dialogs.ExpectModal<frmDisplay>([this](frmDisplay& window) {
    auto w = Drive(window);
    EXPECT_TRUE(w.Checked("optSortDir", 1));
    EXPECT_EQ(Shown(w).front(), "Ann 092026 70");  // by date, decreasing
  });
  d().Click("cmdSelected", 0);
}

TEST_F(RecordsWindowsTest, NoRecordsNoWindowForAStudentAnEmptyOneForAClass) {
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 2);  // Cy: no records
  ExpectNoRecords();
  d().Click("cmdSelected", 0);  // and no window: none is expected
  d().Select("lstClasses", 2);  // Quiet: a student, no records
  ExpectNoRecords();
  dialogs.ExpectModal<frmDisplay>([this](frmDisplay& window) {
    EXPECT_EQ(window.windowTitle(), "STUDENT RECORDS: All Students");
    EXPECT_TRUE(Drive(window).Items("lstRecords").empty());
  });
  d().Click("cmdAll", 0);
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(RecordsWindowsTest, DataGroupsSwitchBackAndAGroupWithoutRecordsIsTakenBack) {
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 1);  // Bob: one test, one practice
  dialogs.ExpectModal<frmDisplay>([this](frmDisplay& window) {
    auto w = Drive(window);
    const Lines all = Shown(w);
    EXPECT_EQ(all, (Lines{"Bob 091026 95", "Bob 091026 100"}));
    w.Option("optDataGroup", 2);
    EXPECT_EQ(Shown(w), (Lines{"Bob 091026 95"}));
    w.Option("optDataGroup", 1);
    EXPECT_EQ(Shown(w), all);
    // Clicking the option in force starts no run (a run rewrites RECORDS2.DAT).
    std::filesystem::remove(dir.path() + "/RECORDS2.DAT");
    EXPECT_TRUE(w.Checked("optDataGroup", 1));
    w.Get<QRadioButton>("optDataGroup", 1).click();
    EXPECT_FALSE(dir.Exists("RECORDS2.DAT"));
    EXPECT_EQ(Shown(w), all);
  });
  d().Click("cmdSelected", 0);

  d().Select("lstStudents", 0);                // Ann: no unit test, so...
  dir.Write(kRecordsFile, a1 + a3 + b1 + b2);  // ...and now no test at all
  dialogs.ExpectModal<frmDisplay>([this](frmDisplay& window) {
    auto w = Drive(window);
    ExpectNoRecords();
    w.Option("optDataGroup", 2);
    EXPECT_EQ(Shown(w), (Lines{"Ann 091526 90", "Ann 092026 70"}));  // the lines stay
    EXPECT_TRUE(w.Checked("optDataGroup", 1));                       // and so do the option...
    EXPECT_EQ(values.DataGroup, 1);                                  // ...and the setting
  });
  d().Click("cmdSelected", 0);
}

TEST_F(RecordsWindowsTest, TheDirectionReversesTheTieBreak) {
  dir.Write(kRecordsFile, ActRec("C1", "3", "2", "091026", "01", "01", "10", "1", "1") +
                              ActRec("C1", "3", "2", "091026", "01", "01", "10", "2", "2"));
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 1);
  dialogs.ExpectModal<frmDisplay>([this](frmDisplay& window) {
    auto w = Drive(window);
    EXPECT_EQ(Shown(w), (Lines{"Bob 091026 10", "Bob 091026 20"}));
    w.Option("optSortDir", 1);
    EXPECT_EQ(Shown(w), (Lines{"Bob 091026 20", "Bob 091026 10"}));
  });
  d().Click("cmdSelected", 0);
}

TEST_F(RecordsWindowsTest, TheDataGroupOptionsShowTheGroupInForce) {
  values.DataGroup = 2;
  Open();
  EXPECT_TRUE(d().Checked("optDataGroup", 2));
  d().Option("optDataGroup", 3);
  EXPECT_EQ(values.DataGroup, 3);  // nothing else happens
  d().Select("lstClasses", 0);
  dialogs.ExpectModal<frmDisplay>([this](frmDisplay& window) {
    auto w = Drive(window);
    EXPECT_TRUE(w.Checked("optDataGroup", 3));
    EXPECT_TRUE(w.Checked("optSort", 0));  // the whole class by name
    EXPECT_EQ(Shown(w), (Lines{"Ann 090126 50", "Bob 091026 95"}));
    w.Option("optDataGroup", 1);
  });
  d().Click("cmdAll", 0);
  EXPECT_TRUE(d().Checked("optDataGroup", 1));  // the group chosen in the display
}

TEST_F(RecordsWindowsTest, EraseAsksAndOnlyYesActs) {
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 0);
  const std::string all = a1 + a2 + a3 + b1 + b2;
  for (Answer no : {Answer::kNo, Answer::kCancel}) {
    dialogs.ExpectMessage("Are you sure you want to erase this student's records?\r\rAnn",
                          Buttons::kYesNoCancelDefaultNo, Icon::kNone, Title::Text(""), no);
    d().Click("cmdSelected", 2);
    EXPECT_EQ(dir.Read(kRecordsFile), all);
  }
  dialogs.ExpectMessage("Are you sure you want to erase this student's records?\r\rAnn",
                        Buttons::kYesNoCancelDefaultNo, Icon::kNone, Title::Text(""), Answer::kYes);
  d().Click("cmdSelected", 2);
  EXPECT_EQ(dir.Read(kRecordsFile), b1 + b2);
  EXPECT_EQ(d().Selected("lstStudents"), 0);  // the window is not refreshed
  dialogs.ExpectMessage(
      "Are you sure you want to erase the records for ALL students in this class?\r\rAlgebra",
      Buttons::kYesNoCancelDefaultNo, Icon::kNone, Title::Text(""), Answer::kYes);
  d().Click("cmdAll", 2);
  EXPECT_EQ(dir.Read(kRecordsFile), "");
}

TEST_F(RecordsWindowsTest, AStudentWithoutANumberIsNotErasedAsTheWholeClass) {
  dir.Write(kStudentsFile, StudentRec("Ann", "1", "3") + StudentRec("Nobody", "00", "3"));
  Open();
  d().Select("lstClasses", 0);
  d().Select("lstStudents", 1);
  dialogs.ExpectMessage(
      "This student has no student number in the file, so the student cannot "
      "be told apart from the rest of the class.\r\n\r\nNothing was changed.",
      Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  d().Click("cmdSelected", 2);
  EXPECT_EQ(dir.Read(kRecordsFile), a1 + a2 + a3 + b1 + b2);
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(RecordsWindowsTest, PrintSendsTheReportToThePrinter) {
  Open();
  d().Select("lstClasses", 0);
  dialogs.ExpectMessage("Turn printer on, then click OK", Buttons::kOk, Icon::kNone,
                        Title::Text("Printing Student Records"), Answer::kOk);
  d().Click("cmdAll", 1);
  ASSERT_EQ(printer.documents.size(), 1u);
  EXPECT_EQ(
      printer.documents[0][0].lines[1].text,
      "STUDENT RECORDS: All Students   /   Test Passing Grade: 70%   /   Showing: All Records");
  EXPECT_EQ(printer.documents[0][0].lines.size(), 6u + 3u + 1u + 2u);
}

}  // namespace
}  // namespace quillon

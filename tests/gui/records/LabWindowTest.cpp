// Lab Now over the scripted day: its rows, highlights and status line after
// the steps, the selection following its student, the class box, the
// progress chart; the announced changes locally and the 2-second look on a
// share. And the class summary following the files while it is open,
// keeping its sort, selection and scroll.
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "gui/platform/FolderFollower.h"
#include "gui/records/frmLab.h"
#include "gui/records/frmProgressChart.h"
#include "gui/records/frmSummary.h"
#include "store/Pending.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/LabDay.h"
#include "support/core/StoreSteps.h"
#include "support/core/WatchedFolder.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using Lines = std::vector<std::string>;
using testing::ActRec;

// Each row of a table, its cells joined by "|".
Lines Table(QWidget& w, const char* name) {
  auto* grid = w.findChild<QTableWidget*>(name);
  Lines rows;
  for (int r = 0; r < grid->rowCount(); ++r) {
    std::string row;
    for (int c = 0; c < grid->columnCount(); ++c) {
      row += (c ? "|" : "") + grid->item(r, c)->text().toLatin1().toStdString();
    }
    rows.push_back(row);
  }
  return rows;
}

// Lets the event loop run until `done` holds, for at most 20 seconds: for
// what the system announces, which comes when it comes.
bool Until(const std::function<bool()>& done) {
  QElapsedTimer waited;
  waited.start();
  while (!done() && waited.elapsed() < 20000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return done();
}

class LabWindowTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    testing::WriteLabDayFolder(dir);
    ASSERT_TRUE(LoadLessons(dir.folder(), &values.Catalogue).ok());
    clock.Set(testing::kLabDay);
    clock.At(9, 0);
  }
  Services watched_services() { return {watched, dialogs, clock, printer, values}; }
  // Runs the day's steps [from, to) and looks after each, as the follower would.
  void Steps(frmLab& w, std::size_t from, std::size_t to) {
    const std::vector<testing::LabDayStep> steps = testing::LabDaySteps();
    for (std::size_t i = from; i < to; ++i) {
      if (steps[i].act) steps[i].act(dir);
      clock.At(steps[i].hour, steps[i].minute);
      w.LookNow();
    }
  }
  QTableWidget& Grid(frmLab& w) { return *w.findChild<QTableWidget*>("grdLab"); }
  testing::WatchedFolder watched{&dir.folder()};
};

TEST_F(LabWindowTest, TheScriptedDay) {
  frmLab w(watched_services());
  w.follower().timer().stop();  // the test looks, step by step
  auto d = Drive(w);
  EXPECT_EQ(w.windowTitle(), "Quillon Student Recordkeeping System - LAB NOW");
  EXPECT_EQ(d.Items("cboClass"), (Lines{"All Classes", "Algebra Lab", "Geometry"}));
  EXPECT_EQ(Table(w, "grdLab"),
            Lines{"Geometry|Cy Moss|before 08:50||C3 U1 L1|Practice|75|C|18|20|75|0|0"});
  EXPECT_FALSE(d.Enabled("cmdChart"));
  Steps(w, 1, 3);  // to 09:12: Ann's failed test
  d.Select("grdLab", 0);
  Steps(w, 3, 6);  // to 09:29
  EXPECT_EQ(Table(w, "grdLab"),
            (Lines{"Algebra Lab|Bo Diaz|13 min||Pre-Algebra|Diagnostic Test|100||9|8|100|0|0",
                   "Algebra Lab|Ann Lee|17 min|Failed a test today; no record for 17 min|C1 U1 "
                   "L1|Lesson Test|50|No|19|10|90|0|1",
                   "Geometry|Cy Moss|before 08:50|No record for 39 min or more|C3 U1 "
                   "L1|Practice|75|C|18|20|75|0|0"}));
  // Ann stays selected where the newer work put her.
  EXPECT_EQ(Grid(w).currentRow(), 1);
  EXPECT_TRUE(d.Enabled("cmdChart"));
  // At a glance: a failed test red, an idle student yellow; and in words
  // with every cell, for a screen reader.
  EXPECT_EQ(Grid(w).item(0, kLabTitle)->background().style(), Qt::NoBrush);
  EXPECT_EQ(Grid(w).item(1, kLabTitle)->background().color(), QColor(255, 200, 200));
  EXPECT_EQ(Grid(w).item(2, kLabTitle)->background().color(), QColor(255, 236, 170));
  EXPECT_EQ(Grid(w).item(1, kLabPercent)->data(Qt::AccessibleDescriptionRole).toString(),
            "Ann Lee: needs attention: Failed a test today; no record for 17 min");
  EXPECT_EQ(d.Text("lblStatus"), "The lessons' records are shown as they are written.");

  Steps(w, 6, 7);  // 09:30: the erase cut short
  EXPECT_EQ(Table(w, "grdLab").size(), 3u);
  EXPECT_EQ(d.Text("lblStatus"),
            "RECORDS.DAT holds a zero byte at byte 100 (in record 5), which no tutoring lesson "
            "writes: a removal of records is under way or was cut short, or the file is damaged. "
            "Until it is gone the records are shown as they stood before it.");
  Steps(w, 7, 9);  // 09:33: finished; half a record written
  EXPECT_EQ(Table(w, "grdLab"),
            (Lines{"Algebra Lab|Bo Diaz|17 min||Pre-Algebra|Diagnostic Test|100||9|8|100|0|0",
                   "Algebra Lab|Ann Lee|21 min|Failed a test today|C1 U1 L1|Lesson "
                   "Test|50|No|19|10|90|0|1"}));
  EXPECT_EQ(d.Text("lblStatus"),
            "RECORDS.DAT ends in 10 bytes of a record still being written; it is shown once it "
            "is whole.");
  Steps(w, 9, 10);
  EXPECT_EQ(Table(w, "grdLab")[0],
            "Algebra Lab|Bo Diaz|now||Unit 1: Whole Nos: Add. and Subtr.|Unit "
            "Test|80|Yes|23|8|100|1|0");
  EXPECT_EQ(Grid(w).currentRow(), 1);  // still Ann

  // One class: its students only, without the class's name on every row.
  d.Choose("cboClass", 2);
  EXPECT_EQ(d.Text("cboClass"), "Geometry");
  EXPECT_TRUE(Table(w, "grdLab").empty());
  EXPECT_EQ(d.Text("lblStatus"),
            "No student has worked today yet. The lessons' records are shown as they are written.");
  d.Choose("cboClass", 1);
  EXPECT_TRUE(Grid(w).isColumnHidden(kLabClass));
  EXPECT_EQ(Table(w, "grdLab").size(), 2u);

  // A row opens that student's progress chart: Ann's test of today.
  d.Select("grdLab", 1);
  dialogs.ExpectModal<frmProgressChart>([](frmProgressChart& chart) {
    EXPECT_EQ(chart.windowTitle(), "PROGRESS CHART: Ann Lee");
    ASSERT_EQ(chart.data().points.size(), 1u);
    EXPECT_EQ(chart.data().points[0].percent, 50);
    EXPECT_FALSE(chart.data().points[0].passed);
  });
  d.Key("grdLab", Qt::Key_Return);
  EXPECT_TRUE(dialogs.Done());
  // Reading only, and nothing kept open, the chart's reading aside.
  watched.Calls();
  w.LookNow();
  EXPECT_FALSE(watched.AnyNotReading()) << ::testing::PrintToString(watched.calls);
  EXPECT_EQ(testing::OpenDescriptors(dir.folder().FullPath(kRecordsFile)), 0);
}

TEST_F(LabWindowTest, OnAShareTheFilesAreLookedAtEveryTwoSeconds) {
  watched.share = true;
  frmLab w(watched_services());
  FolderFollower& follower = w.follower();
  EXPECT_FALSE(follower.announced());
  EXPECT_TRUE(follower.watched().isEmpty());
  EXPECT_TRUE(follower.timer().isActive());
  EXPECT_EQ(follower.timer().interval(), 2000);
  follower.timer().stop();
  EXPECT_EQ(Drive(w).Text("lblStatus"),
            "The program folder is a share: it is looked at every 2 seconds.");
  // Another computer's lesson appends: seen at the next look, not before.
  const testing::LabDayStep first = testing::LabDaySteps()[1];
  first.act(dir);
  clock.At(9, 5);
  QCoreApplication::processEvents();
  EXPECT_EQ(Table(w, "grdLab").size(), 1u);
  watched.Calls();
  ASSERT_TRUE(QMetaObject::invokeMethod(&follower.timer(), "timeout"));
  EXPECT_EQ(Table(w, "grdLab")[0], "Algebra Lab|Ann Lee|now||C1 U1 L1|Practice|90|A|12|10|90|0|0");
  // The look: the length and time of each file, then the new bytes of the
  // one that grew.
  EXPECT_EQ(watched.Calls(),
            (Lines{"LookAtFile CLASSES.DAT", "LookAtFile STUDENTS.DAT", "LookAtFile RECORDS.DAT",
                   "ReadFileFrom RECORDS.DAT 0", "LookAtFile Diag.dat"}));
}

TEST_F(LabWindowTest, OnThisComputersDiskAnAppendIsAnnounced) {
  if (!dir.folder().ChangesAreAnnounced()) GTEST_SKIP() << "the test folder is on a share";
  frmLab w(watched_services());
  FolderFollower& follower = w.follower();
  ASSERT_TRUE(follower.announced());
  Lines paths;
  for (const QString& p : follower.watched()) paths.push_back(p.toStdString());
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (Lines{dir.path(), dir.path() + "/CLASSES.DAT", dir.path() + "/RECORDS.DAT",
                          dir.path() + "/STUDENTS.DAT"}));  // Diag.dat once it is made
  follower.timer().stop();                                  // the announcement alone
  testing::LessonAppends(dir.folder().FullPath(kRecordsFile),
                         ActRec("C1", "3", "1", "030226", "01", "01", "10", "9", "12"));
  ASSERT_TRUE(Until([&] { return Table(w, "grdLab").size() == 2; }));
  EXPECT_EQ(Table(w, "grdLab")[0], "Algebra Lab|Ann Lee|now||C1 U1 L1|Practice|90|A|12|10|90|0|0");
  testing::LessonAppends(dir.folder().FullPath(kDiagFile),
                         testing::DiagRec("C1", "4", "1", "030226", "", ""));
  ASSERT_TRUE(Until([&] { return Table(w, "grdLab")[0].substr(0, 16) == "Geometry|Cy Moss"; }));
  EXPECT_TRUE(
      follower.watched().contains(QString::fromStdString(dir.folder().FullPath(kDiagFile))));
}

// The summary of Algebra Lab (Ann, Bo and 40 more), sorted by Tests
// decreasing, Bo selected, scrolled to the end: a lesson's append changes
// the figures and nothing else; an erase under way changes nothing until
// it is finished.
TEST_F(LabWindowTest, TheClassSummaryFollowsTheFilesKeepingItsSortSelectionAndScroll) {
  std::string roster = dir.Read(kStudentsFile);
  for (int s = 3; s <= 42; ++s) {
    roster += testing::StudentRec("Zed " + std::to_string(s), std::to_string(s), "3");
  }
  dir.Write(kStudentsFile, roster);
  frmSummary w(watched_services(), testing::ClassRec("Algebra Lab", "070", "3"));
  w.follower().timer().stop();
  w.show();
  auto& grid = *w.findChild<QTableWidget*>("grdSummary");
  w.SortBy(kColumnTests);
  w.SortBy(kColumnTests);  // decreasing
  auto d = Drive(w);
  const Lines before = Table(w, "grdSummary");
  ASSERT_EQ(before.size(), 42u);
  EXPECT_EQ(before[0], "Ann Lee|0|0|0||10|90|20|03/01/26|0");
  const int bo = static_cast<int>(
      std::find(before.begin(), before.end(), "Bo Diaz|0|0|0||0||0||0") - before.begin());
  ASSERT_LT(bo, 42);
  d.Select("grdSummary", bo);
  grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
  const int scrolled = grid.verticalScrollBar()->value();
  ASSERT_GT(scrolled, 0);

  // Bo fails a lesson test: first now, still selected, the view where it was.
  testing::LessonAppends(dir.folder().FullPath(kRecordsFile),
                         ActRec("C1", "3", "2", "030226", "01", "51", "10", "5", "7"));
  testing::SetChangeTime(dir.folder().FullPath(kRecordsFile), {testing::kLabDay, 9, 30});
  w.LookNow();
  Lines after = before;
  after.erase(after.begin() + bo);
  after.insert(after.begin(), "Bo Diaz|1|0|1|50|0||7|03/02/26|1");
  EXPECT_EQ(Table(w, "grdSummary"), after);
  EXPECT_EQ(w.sort_column(), kColumnTests);
  EXPECT_TRUE(w.sort_decreasing());
  EXPECT_EQ(grid.currentRow(), 0);
  EXPECT_EQ(grid.verticalScrollBar()->value(), scrolled);

  // Bo's records erased, cut short: the figures stay until it is finished.
  testing::FaultyFolder faulty(&dir.folder(), -1, testing::FaultyFolder::Mode::kCrash);
  faulty.before = [](int, const std::string& what) {
    if (what == "Sync RECORDS.DAT") throw testing::Crash{};
  };
  EXPECT_THROW((void)testing::PurgeRecordsNow(faulty, testing::Who(3, 2)), testing::Crash);
  testing::SetChangeTime(dir.folder().FullPath(kRecordsFile), {testing::kLabDay, 9, 40});
  w.LookNow();
  EXPECT_EQ(Table(w, "grdSummary"), after);
  ASSERT_TRUE(RecoverFolder(dir.folder()).ok());
  testing::SetChangeTime(dir.folder().FullPath(kRecordsFile), {testing::kLabDay, 9, 41});
  w.LookNow();
  EXPECT_EQ(Table(w, "grdSummary"), before);
  EXPECT_EQ(grid.currentRow(), bo);
  // Read only: no lock taken, nothing written, nothing kept open.
  watched.Calls();
  w.LookNow();
  EXPECT_FALSE(watched.AnyNotReading());
}

}  // namespace
}  // namespace quillon

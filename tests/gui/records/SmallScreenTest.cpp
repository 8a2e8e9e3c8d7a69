// The records display, the class summary and its progress chart on an 800 by
// 600 screen: each window within the screen, every button within reach, and
// the lines and columns wider than the window reached by scrolling sideways.
#include <QAbstractItemView>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "gui/records/frmDisplay.h"
#include "gui/records/frmLab.h"
#include "gui/records/frmProgressChart.h"
#include "gui/records/frmStudents.h"
#include "gui/records/frmSummary.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;

class SmallScreenTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write("LESSONS.DAT", testing::MinimalLessons());
    ASSERT_TRUE(LoadLessons(dir.folder(), &values.Catalogue).ok());
    dir.Write(kClassesFile, ClassRec("A class of twenty-seven ch", "070", "1"));
    std::string roster, records;
    for (int s = 1; s <= 30; ++s) {
      roster += StudentRec("Alexandrina Konstanti" + std::to_string(s), std::to_string(s), "1");
      records += ActRec("C1", "1", std::to_string(s), "091526", "01", "51", "100", "99", "999");
    }
    dir.Write(kStudentsFile, roster);
    dir.Write(kRecordsFile, records);
  }
  // Every button of `window` wholly inside it, and the window inside the
  // screen's available area.
  static void ExpectWithinReach(QWidget& window) {
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window.frameGeometry()))
        << window.frameGeometry().width() << "x" << window.frameGeometry().height();
    for (QPushButton* b : window.findChildren<QPushButton*>()) {
      if (!b->isVisible()) continue;
      const QRect at(b->mapTo(&window, QPoint(0, 0)), b->size());
      EXPECT_TRUE(window.rect().contains(at)) << b->objectName().toStdString();
    }
  }
};

TEST_F(SmallScreenTest, TheRecordsDisplayAndTheSummaryFitAnEightHundredBySixHundredScreen) {
  if (QGuiApplication::primaryScreen()->geometry().size() != QSize(800, 600)) {
    GTEST_SKIP() << "run on an 800 by 600 screen by the test gui_on_an_800x600_screen";
  }
  frmStudents students(services());
  students.show();
  auto s = Drive(students);
  s.Select("lstClasses", 0);
  // The lines are wider than the screen: they scroll sideways, their
  // headings with them, to the last column.
  dialogs.ExpectModal<frmDisplay>([&](frmDisplay& w) {
    ExpectWithinReach(w);
    auto& list = *w.findChild<QAbstractItemView*>("lstRecords");
    QScrollBar* sideways = list.horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    sideways->setValue(sideways->maximum());
    const QWidget& last = *w.findChild<QWidget*>("lblMinutes");
    const QRect at(last.mapTo(&w, QPoint(0, 0)), last.size());
    EXPECT_TRUE(w.rect().contains(at)) << at.x() << "+" << at.width() << " in " << w.width();
    EXPECT_LE(at.right(), list.mapTo(&w, QPoint(list.width(), 0)).x());
  });
  s.Click("cmdAll", 0);
  dialogs.ExpectModal<frmSummary>([&](frmSummary& w) {
    ExpectWithinReach(w);
    auto& grid = *w.findChild<QTableWidget*>("grdSummary");
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    const int last = grid.columnCount() - 1;
    EXPECT_LE(grid.columnViewportPosition(last) + grid.columnWidth(last), grid.viewport()->width());
    Drive(w).Select("grdSummary", 0);
    dialogs.ExpectModal<frmProgressChart>(
        [&](frmProgressChart& chart) { ExpectWithinReach(chart); });
    Drive(w).Click("cmdChart");
  });
  s.Click("cmdSummary");
  ExpectWithinReach(students);
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(SmallScreenTest, LabNowFitsAnEightHundredBySixHundredScreen) {
  if (QGuiApplication::primaryScreen()->geometry().size() != QSize(800, 600)) {
    GTEST_SKIP() << "run on an 800 by 600 screen by the test gui_on_an_800x600_screen";
  }
  std::string today;
  for (int s = 1; s <= 30; ++s) {
    today += ActRec("C1", "1", std::to_string(s), "120926", "01", "51", "100", "99", "999");
  }
  dir.Write(kRecordsFile, today);
  frmLab w(services());
  w.show();
  ExpectWithinReach(w);
  // Thirty students: every row and the last column reached by scrolling.
  auto& grid = *w.findChild<QTableWidget*>("grdLab");
  ASSERT_EQ(grid.rowCount(), 30);
  grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
  const int last = grid.columnCount() - 1;
  EXPECT_LE(grid.columnViewportPosition(last) + grid.columnWidth(last), grid.viewport()->width());
}

}  // namespace
}  // namespace quillon

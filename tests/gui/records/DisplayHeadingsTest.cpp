// The records display's column headings stand over their columns at the
// font in use: each starts where its column's first character is drawn.
#include <QFontMetricsF>
#include <QLabel>
#include <QListView>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "gui/records/frmDisplay.h"
#include "gui/records/frmStudents.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

class DisplayHeadingsTest : public testing::GuiTest {};

TEST_F(DisplayHeadingsTest, EachHeadingStartsAtItsColumn) {
  dir.Write(kClassesFile, testing::ClassRec("Algebra", "070", "3"));
  dir.Write(kStudentsFile, testing::StudentRec("Ann", "1", "3"));
  dir.Write(kRecordsFile, testing::ActRec("C1", "3", "1", "091526", "01", "01", "10", "9", "25"));
  frmStudents window(services());
  auto d = Drive(window);
  d.Select("lstClasses", 0);
  bool checked = false;
  dialogs.ExpectModal<frmDisplay>([&](frmDisplay& display) {
    auto w = Drive(display);
    auto& list = w.Get<QListView>("lstRecords");
    const QFontMetricsF metrics(list.font());
    const int name = w.Get<QLabel>("lblName").mapTo(&display, QPoint(0, 0)).x();
    // The first column begins inside the list, just after its frame.
    const int text = list.mapTo(&display, QPoint(list.frameWidth(), 0)).x();
    EXPECT_GE(name, text);
    EXPECT_LE(name, text + 6);
    const std::pair<const char*, int> columns[] = {
        {"lblDate", 18},      {"lblCourse", 25},   {"lblTopic", 35},   {"lblActivity", 61},
        {"lblAttempted", 72}, {"lblCorrect", 77},  {"lblPercent", 83}, {"lblGrade", 89},
        {"lblPassTest", 97},  {"lblMinutes", 104},
    };
    for (auto [label, column] : columns) {
      const int x = w.Get<QLabel>(label).mapTo(&display, QPoint(0, 0)).x();
      EXPECT_NEAR(x - name, metrics.horizontalAdvance(QString(column - 1, 'M')), 1.0) << label;
    }
    checked = true;
  });
  d.Click("cmdAll", 0);
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace quillon

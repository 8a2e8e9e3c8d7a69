// The class summary of one hand-worked folder, every figure written out:
// opened from the student records window, its CSV file, its sort, a range
// of dates, the progress chart's points and the printed page.
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
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
using Lines = std::vector<std::string>;

// Class 4, passing grade 70. Ann (1), Bo (2, "Diaz, Bo"), Cy (3, no records).
const std::string kRecords =
    // Ann: a lesson test at exactly the passing grade (70, Yes), 1999.
    ActRec("C3", "4", "1", "031099", "01", "51", "10", "7", "20") +
    // Another lesson's test, 77 of 100 (Yes), the last day of 1999.
    ActRec("C1", "4", "1", "123199", "01", "51", "100", "77", "10") +
    // The first lesson again, later in the file: 60, No, the one that counts.
    ActRec("C3", "4", "1", "010500", "01", "51", "10", "6", "15") +
    // A unit test, 5 of 8: 62.5 shows 63, No.
    ActRec("C1", "4", "1", "011200", "51", "00", "8", "5", "30") +
    // Practice, 8 of 10; a second-series test (practice on the display), 2
    // of 6; a numbered lesson with nothing attempted: 10 of 16 is 62.5.
    ActRec("C3", "4", "1", "010300", "01", "01", "10", "8", "12") +
    ActRec("P2", "4", "1", "010600", "05", "01", "6", "2", "5") +
    ActRec("P2", "4", "1", "010700", "99", "01", "0", "0", "8") +
    // Bo: a lesson test failed (50) then passed (90, after the range's end);
    // practice with nothing attempted; an "S1" test (course C7), 7 of 7.
    ActRec("C1", "4", "2", "010800", "01", "51", "10", "5", "10") +
    ActRec("C1", "4", "2", "012000", "01", "51", "10", "9", "10") +
    ActRec("C1", "4", "2", "010900", "01", "01", "0", "0", "6") +
    ActRec("S1", "4", "2", "020100", "01", "52", "7", "7", "9") +
    // Not shown: another class's student, a student not on the roster.
    ActRec("C3", "5", "1", "010500", "01", "51", "10", "1", "40") +
    ActRec("C3", "4", "9", "010500", "01", "51", "10", "1", "40");

class SummaryWindowTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write("LESSONS.DAT", testing::MinimalLessons());
    ASSERT_TRUE(LoadLessons(dir.folder(), &values.Catalogue).ok());
    dir.Write(kClassesFile, ClassRec("Geometry B", "070", "4") + ClassRec("Algebra", "060", "5"));
    dir.Write(kStudentsFile, StudentRec("Cy Mo\xDF", "3", "4") + StudentRec("Ann Lee", "1", "4") +
                                 StudentRec("Diaz, Bo", "2", "4") + StudentRec("Dee", "1", "5"));
    dir.Write(kRecordsFile, kRecords);
  }
  // Each row of the table, its cells joined by "|".
  static Lines Table(frmSummary& w) {
    auto* grid = w.findChild<QTableWidget*>("grdSummary");
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
  static std::string Tip(frmSummary& w, int row, int column) {
    return w.findChild<QTableWidget*>("grdSummary")->item(row, column)->toolTip().toStdString();
  }
  static void ClickHeading(frmSummary& w, int column) {
    QHeaderView* header = w.findChild<QTableWidget*>("grdSummary")->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 4, 4));
  }
  void ExpectMessage(const std::string& prompt, Buttons buttons = Buttons::kOk,
                     Answer answer = Answer::kOk) {
    dialogs.ExpectMessage(prompt, buttons, Icon::kNone, Title::Default(), answer);
  }
};

TEST_F(SummaryWindowTest, HandWorkedClass) {
  const std::string csv_path = dir.path() + "/summary.csv";
  const std::string csv =
      "\xEF\xBB\xBF"
      "Student,Tests,Passed,Failed,Average %,Practice,Practice %,Minutes,Last work,Needs help\r\n"
      "Ann Lee,4,2,2,68,16,63,100,2000-01-12,2\r\n"
      "Cy Mo\xC3\x9F,0,0,0,,0,,0,,0\r\n"
      "\"Diaz, Bo\",3,2,1,80,0,,35,2000-02-01,0\r\n";
  frmStudents students(services());
  students.show();
  testing::WindowDriver s = Drive(students);
  EXPECT_FALSE(s.Enabled("cmdSummary"));
  s.Select("lstClasses", 1);  // Geometry B
  ASSERT_TRUE(s.Enabled("cmdSummary"));

  dialogs.ExpectModal<frmSummary>([&](frmSummary& w) {
    testing::WindowDriver d = Drive(w);
    EXPECT_EQ(d.Text("lblClass"), "Class: Geometry B      Test passing grade: 70%");
    EXPECT_EQ(Table(w), (Lines{"Ann Lee|4|2|2|68|16|63|100|01/12/00|2", "Cy Mo\xDF|0|0|0||0||0||0",
                               "Diaz, Bo|3|2|1|80|0||35|02/01/00|0"}));
    EXPECT_EQ(Tip(w, 0, kColumnNeedsHelp),
              "Needs help in:\nC3 U1 L1 (60% on 01/05/00)\n"
              "Unit 1: Whole Nos: Add. and Subtr. (63% on 01/12/00)");
    EXPECT_EQ(Tip(w, 2, kColumnNeedsHelp), "");
    EXPECT_EQ(Tip(w, 2, kColumnLastWork), "No work for 14 days or more");  // by 12/09/26

    // Saved as CSV: an existing file is replaced only when the user says so.
    dir.Write("summary.csv", "old");
    dialogs.ExpectSaveFile("Save Class Summary", dir.path() + "/summary");
    ExpectMessage(csv_path + "\r\rThis file already exists. Replace it?", Buttons::kYesNo,
                  Answer::kNo);
    d.Click("cmdCsv");
    EXPECT_EQ(dir.Read("summary.csv"), "old");
    dialogs.ExpectSaveFile("Save Class Summary", csv_path);
    ExpectMessage(csv_path + "\r\rThis file already exists. Replace it?", Buttons::kYesNo,
                  Answer::kYes);
    ExpectMessage("The summary was saved to the file\r\n" + csv_path);
    d.Click("cmdCsv");
    EXPECT_EQ(dir.Read("summary.csv"), csv);
    ASSERT_EQ(dialogs.suggested_files.size(), 2u);
    const std::string& offered = dialogs.suggested_files[1];
    EXPECT_EQ(offered.substr(offered.rfind('/') + 1), "Class summary - Geometry B - all dates.csv");
    std::size_t files = 0;
    for (const auto& f : std::filesystem::directory_iterator(dir.path()))
      files += !f.path().empty();
    EXPECT_EQ(files, 5u);  // the four data files and the CSV: no temporary file left

    // Average %: the empty cell first, then the other way.
    ClickHeading(w, kColumnAverage);
    EXPECT_EQ(Table(w)[0].substr(0, 2), "Cy");
    EXPECT_EQ(Table(w)[2].substr(0, 4), "Diaz");
    ClickHeading(w, kColumnAverage);
    EXPECT_EQ(Table(w),
              (Lines{"Diaz, Bo|3|2|1|80|0||35|02/01/00|0", "Ann Lee|4|2|2|68|16|63|100|01/12/00|2",
                     "Cy Mo\xDF|0|0|0||0||0||0"}));

    // Ann's chart: her tests by date, two passed and two failed.
    d.Select("grdSummary", 1);
    dialogs.ExpectModal<frmProgressChart>([&](frmProgressChart& chart) {
      const ProgressData& data = chart.data();
      ASSERT_EQ(data.points.size(), 4u);
      const std::pair<int, long long> expected[] = {
          {19990310, 70}, {19991231, 77}, {20000105, 60}, {20000112, 63}};
      for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(data.points[i].day, expected[i].first) << i;
        EXPECT_EQ(data.points[i].percent, expected[i].second) << i;
        EXPECT_EQ(data.points[i].passed, i < 2) << i;
      }
      EXPECT_EQ(data.points[0].title, "C3 U1 L1");
      EXPECT_EQ(data.points[1].title, "C1 U1 L1");
      EXPECT_EQ(data.points[3].title, "Unit 1: Whole Nos: Add. and Subtr.");
      // Practice minutes by week, Monday 03/08/99 to Monday 01/10/00.
      ASSERT_EQ(data.weeks.size(), 45u);
      EXPECT_EQ(data.weeks.front().monday, 19990308);
      EXPECT_EQ(data.weeks[43].monday, 20000103);
      EXPECT_EQ(data.weeks[43].minutes, 25);
      long long minutes = 0;
      for (const WeekMinutes& week : data.weeks) minutes += week.minutes;
      EXPECT_EQ(minutes, 25);
      // The lessons and units she needs help in, named under the legend.
      EXPECT_EQ(data.needs_help, (Lines{"C3 U1 L1 (60% on 01/05/00)",
                                        "Unit 1: Whole Nos: Add. and Subtr. (63% on 01/12/00)"}));
      // On paper: two heading lines, then the chart on the same landscape page.
      Drive(chart).Click("cmdPrint");
      ASSERT_EQ(printer.documents.size(), 1u);
      ASSERT_EQ(printer.documents[0].size(), 1u);
      const testing::PrintedPage& page = printer.documents[0][0];
      EXPECT_EQ(page.orientation, Orientation::kLandscape);
      EXPECT_EQ(testing::RecordingPrinter::Texts(printer.documents[0]),
                (Lines{"PROGRESS CHART: Ann Lee   /   Geometry B",
                       "Dates: all dates   /   Printed 12/09/26"}));
      ASSERT_EQ(page.pictures.size(), 1u);
      EXPECT_EQ(page.pictures[0].x, 0.4);
      EXPECT_EQ(page.pictures[0].y, 0.5 + 2 * 0.15625 + 0.15);
      EXPECT_EQ(page.pictures[0].drawing.width, 10.2);
      EXPECT_EQ(page.pictures[0].drawing.height, 6.8);
      int help_texts = 0;
      for (const Shape& shape : page.pictures[0].drawing.shapes) {
        help_texts += shape.text ==
                      "Needs help: C3 U1 L1 (60% on 01/05/00); Unit 1: Whole Nos: Add. and "
                      "Subtr. (63% on 01/12/00)";
      }
      EXPECT_EQ(help_texts, 1);
    });
    d.Click("cmdChart");

    // A bad date is said and changes nothing; then the first ten days of 2000.
    d.Type("txtFrom", "1/1/00");
    d.Type("txtTo", "13/10/00");
    ExpectMessage(
        "\"13/10/00\" is not a date.\r\rEnter dates as mm/dd/yy, or leave the box "
        "empty for no limit.");
    d.Click("cmdDates");
    EXPECT_EQ(Table(w)[0], "Diaz, Bo|3|2|1|80|0||35|02/01/00|0");
    d.Get<QLineEdit>("txtTo").setText("01/10/00");
    d.Key("txtTo", Qt::Key_Return);
    // Ann's 1999 tests and her unit test fall outside; Bo's retest too: at
    // the range's end his lesson test was failed, and he needs help in it.
    // Ann, selected before, stays selected.
    EXPECT_EQ(Table(w), (Lines{"Ann Lee|1|0|1|60|16|63|40|01/07/00|1",
                               "Diaz, Bo|1|0|1|50|0||16|01/09/00|1", "Cy Mo\xDF|0|0|0||0||0||0"}));
    auto* grid = w.findChild<QTableWidget*>("grdSummary");
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_TRUE(grid->item(0, 0)->isSelected());
    EXPECT_TRUE(d.Enabled("cmdChart"));
    EXPECT_EQ(Tip(w, 1, kColumnNeedsHelp), "Needs help in:\nC1 U1 L1 (50% on 01/08/00)");
    d.Select("grdSummary", 1);
    dialogs.ExpectModal<frmProgressChart>([&](frmProgressChart& chart) {
      EXPECT_EQ(chart.data().needs_help, (Lines{"C1 U1 L1 (50% on 01/08/00)"}));
      EXPECT_EQ(chart.data().points.size(), 1u);
    });
    d.Click("cmdChart");
    dialogs.ExpectSaveFile("Save Class Summary", "");
    d.Click("cmdCsv");
    const std::string& ranged = dialogs.suggested_files.back();
    EXPECT_EQ(ranged.substr(ranged.rfind('/') + 1),
              "Class summary - Geometry B - 2000-01-01 to 2000-01-10.csv");
    EXPECT_EQ(Tip(w, 0, kColumnLastWork), "");  // 3 days before 01/10/00
    EXPECT_EQ(Tip(w, 2, kColumnLastWork), "No work for 14 days or more");

    d.Click("cmdPrint");
  });
  s.Click("cmdSummary");
  ASSERT_TRUE(dialogs.Done());

  ASSERT_EQ(printer.documents.size(), 2u);
  ASSERT_EQ(printer.documents[1].size(), 1u);
  const testing::PrintedPage& page = printer.documents[1][0];
  EXPECT_EQ(page.orientation, Orientation::kLandscape);
  EXPECT_TRUE(page.pictures.empty());
  EXPECT_EQ(testing::RecordingPrinter::Texts(printer.documents[1]),
            (Lines{"CLASS SUMMARY: Geometry B   /   Test Passing Grade: 70%",
                   "Dates: 01/01/00 to 01/10/00   /   Printed 12/09/26   /   Page 1", "",
                   "Student               Tests Passed Failed Average % Practice Practice % "
                   "Minutes Last work Needs help",
                   "----------------      ----- ------ ------ --------- -------- ---------- "
                   "------- --------- ----------",
                   "Ann Lee                   1      0      1        60       16         63 "
                   "     40  01/07/00          1",
                   "Diaz, Bo                  1      0      1        50        0            "
                   "     16  01/09/00          1",
                   "Cy Mo\xDF                    0      0      0                  0            "
                   "      0                    0"}));
  for (std::size_t i = 0; i < page.lines.size(); ++i) {
    EXPECT_EQ(page.lines[i].x, 0.4) << i;
    EXPECT_EQ(page.lines[i].y, 0.5 + 0.15625 * static_cast<double>(i)) << i;
    EXPECT_EQ(page.lines[i].font, "Courier New") << i;
    EXPECT_EQ(page.lines[i].points, 10) << i;
  }
}

}  // namespace
}  // namespace quillon

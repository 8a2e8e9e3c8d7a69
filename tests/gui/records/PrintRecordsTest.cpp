// The printed records report on the recording printer: pages, headings,
// blank lines between students, and the printer-fault handling.
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "gui/records/PrintRecords.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::PrintedLine;
using testing::RecordingPrinter;
using testing::StudentRec;

const char kHeading3[] =
    "                                                                           #     #     %   "
    "Practice  Pass     # ";
const char kHeading4[] =
    "       Name       Date   Course            Lesson              Activity   Att  Corr  Corr    "
    "Grade   Test?  Mins";
const char kHeading5[] =
    "---------------- ------ -------- ---------------------------  ----------- ---  ----  ----  "
    "--------  -----  ----";

class PrintRecordsTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write(kStudentsFile, StudentRec("Ann", "1", "3") + StudentRec("Bob", "2", "3"));
    values.PassingGrade = 70;
  }
  // `count` practice records of student `stu` of class 3, one a day from 09/01/26.
  static std::string Records(const char* stu, int count) {
    std::string bytes;
    for (int d = 1; d <= count; ++d) {
      const std::string mmdd = (d <= 30 ? "09" + ZeroPad(d, 2) : "10" + ZeroPad(d - 30, 2));
      bytes += ActRec("C1", "3", stu, mmdd + "26", "01", "01", "10", "9", "5");
    }
    return bytes;
  }
  void ExpectTurnPrinterOn() {
    dialogs.ExpectMessage("Turn printer on, then click OK", Buttons::kOk, Icon::kNone,
                          Title::Text("Printing Student Records"), Answer::kOk);
  }
  // The texts of the one document sent.
  std::vector<std::string> Sent() {
    EXPECT_EQ(printer.documents.size(), 1u);
    return printer.documents.empty() ? std::vector<std::string>()
                                     : RecordingPrinter::Texts(printer.documents[0]);
  }
  static std::string Who(const std::string& line) { return line.substr(0, 23); }
};

TEST_F(PrintRecordsTest, TwoStudentsOnOneLandscapePage) {
  dir.Write(kRecordsFile, Records("2", 2) + Records("1", 1));
  ExpectTurnPrinterOn();
  PrintRecords(services(), 3, -1);
  const std::vector<std::string> text = Sent();
  ASSERT_EQ(text.size(), 10u);
  EXPECT_EQ(text[0], "          Page 1");
  EXPECT_EQ(text[1],
            "STUDENT RECORDS: All Students   /   Test Passing Grade: 70%   /   Showing: All Records");
  EXPECT_EQ(text[2], "");
  EXPECT_EQ(text[3], kHeading3);
  EXPECT_EQ(text[4], kHeading4);
  EXPECT_EQ(text[5], kHeading5);
  EXPECT_EQ(Who(text[6]), "Ann              090126");
  EXPECT_EQ(text[7], " ");  // only where the student changes
  EXPECT_EQ(Who(text[8]), "Bob              090126");
  EXPECT_EQ(Who(text[9]), "Bob              090226");
  const auto& page = printer.documents[0][0];
  EXPECT_EQ(page.orientation, Orientation::kLandscape);
  EXPECT_EQ(page.lines[0].x, 9);  // the page number, at 9 in landscape
  EXPECT_EQ(page.lines[0].y, 0.5);
  for (std::size_t i = 1; i < page.lines.size(); ++i) {
    EXPECT_EQ(page.lines[i].x, 0.4) << i;
    EXPECT_EQ(page.lines[i].y, 0.5 + 0.15625 * static_cast<double>(i)) << i;
    EXPECT_EQ(page.lines[i].font, "Courier New");
    EXPECT_EQ(page.lines[i].points, 10);
  }
  EXPECT_EQ(printer.GetOrientation(), Orientation::kPortrait);  // set back afterwards
}

// At 10 points a line is 0.15625 in: the page number and five headings
// bring the position to 1.4375, and 42 records to 8, the bottom of a
// landscape page.
TEST_F(PrintRecordsTest, PagesBreakAfter42RecordsAndRepeatTheHeadings) {
  dir.Write(kRecordsFile, Records("1", 50) + Records("2", 40));
  ExpectTurnPrinterOn();
  PrintRecords(services(), 3, -1);
  ASSERT_EQ(printer.documents.size(), 1u);
  const auto& pages = printer.documents[0];
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].lines.size(), 6u + 42u);
  const std::string last_on_page_1 = pages[0].lines.back().text;
  EXPECT_EQ(Who(last_on_page_1), "Ann              101226");
  for (std::size_t p = 0; p < pages.size(); ++p) {
    EXPECT_EQ(pages[p].lines[0].text, "          Page " + std::to_string(p + 1));
    EXPECT_EQ(pages[p].lines[0].y, 0.5);
    EXPECT_EQ(pages[p].lines[2].text, "");
    EXPECT_EQ(pages[p].lines[5].text, kHeading5);
  }
  // Page 2: Ann's last 8, the blank line, Bob's first 33 (the 42nd line of
  // the page's records is the blank one).
  EXPECT_EQ(Who(pages[1].lines[6].text), "Ann              101326");
  EXPECT_EQ(pages[1].lines[14].text, " ");
  EXPECT_EQ(Who(pages[1].lines[15].text), "Bob              090126");
  EXPECT_EQ(pages[1].lines.size(), 6u + 8u + 1u + 33u);
  EXPECT_EQ(pages[2].lines.size(), 6u + 7u);
}

TEST_F(PrintRecordsTest, DecreasingTestsOnlyForOneStudent) {
  dir.Write(kRecordsFile, Records("1", 2) + Records("2", 2) +
                              ActRec("C1", "3", "2", "090526", "01", "53", "10", "7", "5"));
  values.SortDirection = 1;
  values.DataGroup = 2;
  ExpectTurnPrinterOn();
  PrintRecords(services(), 3, 2);
  const std::vector<std::string> text = Sent();
  ASSERT_EQ(text.size(), 7u);
  EXPECT_EQ(text[1], "STUDENT RECORDS: Bob   /   Test Passing Grade: 70%   /   Showing: Tests Only");
  // Columns 63 on: activity, attempted, correct, percent, pass, minutes.
  EXPECT_EQ(text[6].substr(62), "Lesson Test  10     7    70             Yes     5");

  printer.documents.clear();
  values.DataGroup = 1;
  ExpectTurnPrinterOn();
  PrintRecords(services(), 3, -1);  // the last name first
  const std::vector<std::string> all = Sent();
  EXPECT_EQ(Who(all[6]), "Bob              090526");
  EXPECT_EQ(Who(all.back()), "Ann              090126");
}

TEST_F(PrintRecordsTest, NoRecordsTouchesNoPrinter) {
  dir.Write(kRecordsFile, Records("1", 2));
  dialogs.ExpectMessage("No records found.", Buttons::kOk, Icon::kNone, Title::Default(),
                        Answer::kOk);
  PrintRecords(services(), 3, 2);
  EXPECT_EQ(printer.calls(), 0);
  EXPECT_TRUE(printer.documents.empty());
}

// The calls of a report: 1 orientation, 2 font, 3 the page number, 4-8 the
// headings, 9 on the records.
TEST_F(PrintRecordsTest, PrinterOffThenOkRetriesTheSameLine) {
  dir.Write(kRecordsFile, Records("1", 3));
  printer.FailAt(10, kPrinterNotReady);
  ExpectTurnPrinterOn();
  dialogs.ExpectMessage("Turn printer on, then click OK to continue.", Buttons::kOkCancel,
                        Icon::kNone, Title::Default(), Answer::kOk);
  PrintRecords(services(), 3, -1);
  const std::vector<std::string> text = Sent();
  ASSERT_EQ(text.size(), 9u);  // no line lost or doubled
  EXPECT_EQ(Who(text[6]), "Ann              090126");
  EXPECT_EQ(Who(text[7]), "Ann              090226");
  EXPECT_EQ(Who(text[8]), "Ann              090326");
  EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(PrintRecordsTest, OutOfPaperThenCancelAbandonsAtOnce) {
  dir.Write(kRecordsFile, Records("1", 3));
  printer.FailAt(10, kPrinterOutOfPaper);
  ExpectTurnPrinterOn();
  dialogs.ExpectMessage("Printer is out of paper.\rInsert paper, then click OK to continue",
                        Buttons::kOkCancel, Icon::kNone, Title::Default(), Answer::kCancel);
  PrintRecords(services(), 3, -1);
  EXPECT_TRUE(printer.documents.empty());  // never ended
  EXPECT_EQ(printer.abandoned, 1);
  EXPECT_EQ(printer.calls(), 10);  // nothing after the fault
  EXPECT_EQ(printer.GetOrientation(), Orientation::kLandscape);  // not set back
  EXPECT_FALSE(dialogs.ended);
}

TEST_F(PrintRecordsTest, AnyOtherFaultShowsItsNumberAndEndsTheProgram) {
  dir.Write(kRecordsFile, Records("1", 3));
  printer.FailAt(10, 482);
  ExpectTurnPrinterOn();
  dialogs.ExpectMessage("Error = 482", Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  PrintRecords(services(), 3, -1);
  EXPECT_TRUE(dialogs.ended);
  EXPECT_EQ(dialogs.exit_status, kExitPrinterError);
  EXPECT_EQ(printer.calls(), 10);
  EXPECT_EQ(dialogs.beeps, 0);
}

}  // namespace
}  // namespace quillon

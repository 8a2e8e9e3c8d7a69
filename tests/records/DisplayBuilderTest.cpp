#include <gtest/gtest.h>

#include <filesystem>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"
#include "records/DisplayBuilder.h"
#include "records/PrintedReport.h"
#include "support/core/Builders.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::StudentRec;

const std::string r1 = ActRec("C3", "3", "1", "091526", "04", "07", "10", "9", "25");
const std::string r2 = ActRec("C3", "3", "1", "091626", "04", "57", "10", "7", "5");
const std::string r3 = ActRec("C3", "3", "1", "091726", "54", "00", "20", "15", "30");
const std::string r4 = ActRec("C3", "3", "1", "091026", "04", "57", "10", "9", "5");
const std::string r5 = ActRec("S1", "3", "2", "100126", "01", "01", "5", "5", "5");
const std::string r6 = ActRec("S4", "3", "2", "100226", "03", "12", "5", "5", "5");
const std::string r7 = ActRec("S6", "4", "1", "100326", "51", "00", "5", "0", "5");
const std::string r8 = ActRec("P2", "3", "2", "090126", "99", "12", "4", "2", "3");
// r6 and r7 as the working lists hold them: the alternate codes S4 and S6
// read as P7 and C8.
const std::string r6_held = ActRec("P7", "3", "2", "100226", "03", "12", "5", "5", "5");
const std::string r7_held = ActRec("C8", "4", "1", "100326", "51", "00", "5", "0", "5");

class DisplayBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write(kStudentsFile, StudentRec("Ann", "1", "3") + StudentRec("Bob", "2", "3") +
                                 StudentRec("Cy", "1", "4"));
    dir.Write(kRecordsFile, r1 + r2 + r3 + r4 + r5 + r6 + r7 + r8);
    FillUnitTestNames(&unit_names);
  }
  // "name date" of each shown line.
  std::vector<std::string> Run(int cls, int stu) {
    request.classnum = cls;
    request.studentnum = stu;
    EXPECT_TRUE(DisplayNew(dir.folder(), tables, request, lists, &run).ok());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < run.lines.size(); ++i) {
      const std::string l = FormatRecordLine(tables, run.lines.RecordLine(i), 70);
      out.push_back(TrimRight(l.substr(0, 16)) + " " + l.substr(17, 6));
    }
    return out;
  }
  static std::vector<std::string> All(const RecordList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.size(); ++i) out.emplace_back(list[i]);
    return out;
  }
  testing::TempFolder dir;
  LessonCatalogue catalogue;
  UnitNameTable unit_names;
  const TitleTables tables{catalogue, unit_names};
  DisplayRequest request;
  WorkingLists lists;
  DisplayResult run;
};

using Lines = std::vector<std::string>;

TEST_F(DisplayBuilderTest, WorkingListsAndTheMostRecentTestByFileOrder) {
  ASSERT_TRUE(lists.Build(dir.folder()).ok());
  EXPECT_EQ(lists.lstRecords1().size(), 8u);
  EXPECT_EQ(lists.lstRecords1()[4].substr(0, 2), "C7");  // S1
  EXPECT_EQ(lists.lstRecords1()[5].substr(0, 2), "P7");  // S4
  EXPECT_EQ(lists.lstRecords1()[6].substr(0, 2), "C8");  // S6
  EXPECT_EQ(All(lists.lstRecords2()), (Lines{r2, r3, r4, r6_held, r7_held}));
  // Groups in descending key order; r4 (older date, later in the file) wins
  // over r2; the lesson test and the unit test of unit 4 stay apart.
  EXPECT_EQ(All(lists.lstRecords3()), (Lines{r6_held, r7_held, r3, r4}));
  ASSERT_TRUE(WriteWorkingFile(dir.folder(), lists, DataGroup::kMostRecentTest).ok());
  EXPECT_EQ(dir.Read(kWorkingFile), r6_held + r7_held + r3 + r4);
}

TEST_F(DisplayBuilderTest, DataGroupsOfAClassByName) {
  request.data_group = DataGroup::kAllRecords;
  EXPECT_EQ(Run(3, -1), (Lines{"Ann 091026", "Ann 091526", "Ann 091626", "Ann 091726", "Bob 090126",
                               "Bob 100126", "Bob 100226"}));
  EXPECT_FALSE(run.one_student);
  request.data_group = DataGroup::kTestsOnly;
  EXPECT_EQ(Run(3, -1), (Lines{"Ann 091026", "Ann 091626", "Ann 091726", "Bob 100226"}));
  request.data_group = DataGroup::kMostRecentTest;
  EXPECT_EQ(Run(3, -1), (Lines{"Ann 091026", "Ann 091726", "Bob 100226"}));
  EXPECT_EQ(dir.Read(kWorkingFile), r6_held + r7_held + r3 + r4);
}

TEST_F(DisplayBuilderTest, SortKeysAndDirections) {
  request.sort_by = SortBy::kDate;
  EXPECT_EQ(Run(3, -1), (Lines{"Bob 090126", "Ann 091026", "Ann 091526", "Ann 091626", "Ann 091726",
                               "Bob 100126", "Bob 100226"}));
  request.sort_direction = SortDirection::kDecreasing;
  EXPECT_EQ(Run(3, -1), (Lines{"Bob 100226", "Bob 100126", "Ann 091726", "Ann 091626", "Ann 091526",
                               "Ann 091026", "Bob 090126"}));
  request.sort_direction = SortDirection::kIncreasing;
  request.sort_by = SortBy::kPercent;  // 50, 70, 75, 90, 90, 100, 100
  EXPECT_EQ(Run(3, -1), (Lines{"Bob 090126", "Ann 091626", "Ann 091726", "Ann 091026", "Ann 091526",
                               "Bob 100126", "Bob 100226"}));
  request.sort_by = SortBy::kLesson;  // label: "" (no catalogue) < "Test..." < "Unit Test: ..."
  EXPECT_EQ(Run(3, -1), (Lines{"Ann 091026", "Ann 091526", "Ann 091626", "Bob 090126", "Bob 100126",
                               "Bob 100226", "Ann 091726"}));
}

TEST_F(DisplayBuilderTest, TheReversedTieBreak) {
  dir.Write(kRecordsFile, ActRec("C3", "3", "1", "091526", "04", "07", "10", "1", "1") +
                              ActRec("C3", "3", "1", "091526", "04", "07", "10", "2", "2"));
  request.sort_by = SortBy::kDate;
  Run(3, 1);
  EXPECT_EQ(run.lines.RecordLine(0).substr(36, 3), "1  ");
  EXPECT_EQ(DisplaySortKey(tables, run.lines.RecordLine(0), SortBy::kDate, 1),
            "260915Ann                  0001");
  request.sort_direction = SortDirection::kDecreasing;
  Run(3, 1);
  EXPECT_EQ(run.lines.RecordLine(0).substr(36, 3), "2  ");
  EXPECT_TRUE(run.one_student);
}

TEST_F(DisplayBuilderTest, PercentKeys) {
  auto key = [&](const char* att, const char* cor) {
    return DisplaySortKey(
        tables, ComposeRecordLine(ActRec("C3", "3", "1", "091526", "04", "07", att, cor, "1"), ""),
        SortBy::kPercent, 7);
  };
  const std::string tail = std::string(21, ' ') + "2609150007";
  EXPECT_EQ(key("8", "1"), "013" + tail);
  EXPECT_EQ(key("8", "0"), "   " + tail);  // before "000" in increasing order
  EXPECT_EQ(key("0", "3"), "100" + tail);  // the line shows 100 percent
  EXPECT_EQ(key("1", "200"), "20000" + tail);
}

TEST_F(DisplayBuilderTest, ReRunsReuseTheWorkingLists) {
  EXPECT_EQ(Run(3, 2).size(), 3u);
  dir.Write(kRecordsFile,
            dir.Read(kRecordsFile) + ActRec("C3", "3", "2", "120126", "04", "07", "10", "9", "25"));
  request.reuse_working_lists = true;
  request.data_group = DataGroup::kAllRecords;
  EXPECT_EQ(Run(3, 2).size(), 3u);  // appended records wait for the next display
  request.data_group = DataGroup::kTestsOnly;
  EXPECT_EQ(Run(3, 2), (Lines{"Bob 100226"}));
  EXPECT_EQ(dir.Read(kWorkingFile), r2 + r3 + r4 + r6_held + r7_held);
  request.reuse_working_lists = false;
  request.data_group = DataGroup::kAllRecords;
  EXPECT_EQ(Run(3, 2).size(), 4u);
}

TEST_F(DisplayBuilderTest, MinusOneMeansEveryClassOrEveryStudent) {
  EXPECT_EQ(Run(-1, -1).size(), 8u);
  EXPECT_EQ(Run(-1, 1).size(), 5u);  // student 1 of classes 3 and 4
  EXPECT_EQ(Run(4, -1), (Lines{"Cy 100326"}));
}

TEST_F(DisplayBuilderTest, NothingSelected) {
  EXPECT_TRUE(Run(4, 9).empty());
  EXPECT_TRUE(run.lines.empty());
  dir.Write(kRecordsFile, "");
  EXPECT_TRUE(Run(3, -1).empty());
}

TEST_F(DisplayBuilderTest, PrintedReportOrderAndBlankLinesBetweenStudents) {
  RecordsReport report;
  ASSERT_TRUE(BuildRecordsReport(dir.folder(), 3, kAllStudents, DataGroup::kAllRecords,
                                 SortDirection::kIncreasing, &report)
                  .ok());
  EXPECT_EQ(report.heading_name, "All Students");
  std::vector<std::string> body = RecordsReportBody(tables, report.lines, 70);
  ASSERT_EQ(body.size(), 8u);
  EXPECT_EQ(body[0].substr(0, 23), "Ann              091026");
  EXPECT_EQ(body[4], " ");
  EXPECT_EQ(body[5].substr(0, 23), "Bob              090126");
  EXPECT_EQ(RecordsReportHeadings("Ann      ", 70, DataGroup::kTestsOnly)[0],
            "STUDENT RECORDS: Ann   /   Test Passing Grade: 70%   /   Showing: Tests Only");
  ASSERT_TRUE(BuildRecordsReport(dir.folder(), 3, 1, DataGroup::kAllRecords,
                                 SortDirection::kDecreasing, &report)
                  .ok());
  EXPECT_EQ(report.heading_name, "Ann                  ");
  EXPECT_EQ(report.lines.RecordLine(0).substr(21, 6), "260917");
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The running number of lstSorted's keys has five places; past 99,999 tests
// the most recent test is still the last one in the file.
TEST(MostRecentTestTest, MoreThan99999TestsOfOneLesson) {
  testing::TempFolder dir;
  std::string bytes;
  for (int n = 1; n <= 100001; ++n) {
    bytes += ActRec("C3", "3", "1", "091526", "04", "57", "10", std::to_string(n % 10), "5");
  }
  bytes.replace(bytes.size() - 3, 3, "777");  // the last test's minutes
  dir.Write(kRecordsFile, bytes);
  WorkingLists lists;
  ASSERT_TRUE(lists.Build(dir.folder()).ok());
  ASSERT_EQ(lists.lstRecords3().size(), 1u);
  EXPECT_EQ(lists.lstRecords3()[0].substr(22, 3), "777");
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// A label that begins another one: the key texts compare on into the name
// ("Equations" + "Ann" against "Equations and Inequalities" + "Bob" is
// decided by 'A' against ' '), so the longer label comes first.
TEST(DisplaySortTest, ALabelThatBeginsAnotherComparesOnIntoTheName) {
  testing::TempFolder dir;
  dir.Write(kStudentsFile, StudentRec("Ann", "1", "3") + StudentRec("Bob", "2", "3") +
                               StudentRec(" Cy", "3", "3"));
  dir.Write(kRecordsFile, ActRec("C3", "3", "1", "091526", "01", "01", "10", "9", "25") +
                              ActRec("C3", "3", "2", "091526", "01", "02", "10", "9", "25") +
                              ActRec("C3", "3", "3", "091526", "01", "01", "10", "9", "25"));
  LessonCatalogue catalogue;
  catalogue.UnitLessonTitles[3][1][1] = "Equations";
  catalogue.UnitLessonTitles[3][1][2] = "Equations and Inequalities";
  UnitNameTable names;
  WorkingLists lists;
  DisplayRequest request;
  request.classnum = 3;
  request.sort_by = SortBy::kLesson;
  DisplayResult result;
  ASSERT_TRUE(DisplayNew(dir.folder(), {catalogue, names}, request, lists, &result).ok());
  std::vector<std::string> who;
  for (std::size_t i = 0; i < result.lines.size(); ++i)
    who.push_back(result.lines.RecordLine(i).substr(0, 3));
  // " Cy" (a blank) < "Equations and..." (Bob) < "Equations" + "Ann".
  EXPECT_EQ(who, (std::vector<std::string>{" Cy", "Bob", "Ann"}));
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// Past 9,999 lines the running number that ends each key has five digits
// and orders as text: "1000" < "10000" < "10001" < "1001". With every other
// part of the keys equal it alone decides, in every sort, both ways, and
// again when a sorted selection is sorted once more.
TEST(DisplaySortTest, PastNineThousandNineHundredNinetyNineLinesTheRunningNumberOrdersAsText) {
  testing::TempFolder dir;
  dir.Write(kStudentsFile, StudentRec("Ann", "1", "3"));
  std::string bytes;
  for (int n = 1; n <= 10001; ++n) {
    const char* minutes = n == 1000 ? "555" : n == 1001 ? "666" : n == 10000 ? "777"
                          : n == 10001 ? "888" : "1";
    bytes += ActRec("C3", "3", "1", "091526", "04", "07", "10", "9", minutes);
  }
  dir.Write(kRecordsFile, bytes);
  LessonCatalogue catalogue;
  UnitNameTable names;
  const TitleTables tables{catalogue, names};
  WorkingLists lists;
  DisplayRequest request;
  request.classnum = 3;
  DisplayResult result;
  const auto minutes_at = [&](std::size_t from) {
    std::vector<std::string> out;
    for (std::size_t i = from; i < from + 4; ++i) out.push_back(result.lines.RecordLine(i).substr(39, 3));
    return out;
  };
  const std::vector<std::string> increasing{"555", "777", "888", "666"},
      decreasing{"666", "888", "777", "555"};
  for (const SortBy by : {SortBy::kName, SortBy::kPercent, SortBy::kDate, SortBy::kLesson}) {
    request.sort_by = by;
    request.sort_direction = SortDirection::kIncreasing;
    ASSERT_TRUE(DisplayNew(dir.folder(), tables, request, lists, &result).ok());
    ASSERT_EQ(result.lines.size(), 10001u);
    EXPECT_EQ(minutes_at(999), increasing) << static_cast<int>(by);
    EXPECT_EQ(result.lines.Seq(0), 1u);
    EXPECT_EQ(result.lines.Seq(10000), 9999u);
    SortSelection(tables, by, SortDirection::kDecreasing, &result.lines);
    EXPECT_EQ(minutes_at(10001 - 1003), decreasing) << static_cast<int>(by);
    EXPECT_EQ(result.lines.Seq(0), 9999u);
  }
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The working file is the program's own: a link put in its place is
// refused, and what it points at outside the folder is left as it was.
TEST(WorkingFileTest, ALinkInItsPlaceIsRefusedNotWrittenThrough) {
  testing::TempFolder outside, dir;
  outside.Write("theirs.txt", "keep");
  dir.Write(kRecordsFile, ActRec("C3", "3", "1", "091526", "04", "07", "10", "9", "25"));
  std::filesystem::create_symlink(outside.path() + "/theirs.txt", dir.path() + "/RECORDS2.DAT");
  LessonCatalogue catalogue;
  UnitNameTable names;
  WorkingLists lists;
  DisplayRequest request;
  DisplayResult result;
  EXPECT_FALSE(DisplayNew(dir.folder(), {catalogue, names}, request, lists, &result).ok());
  EXPECT_TRUE(result.lines.empty());
  EXPECT_EQ(outside.Read("theirs.txt"), "keep");
}

}  // namespace
}  // namespace quillon

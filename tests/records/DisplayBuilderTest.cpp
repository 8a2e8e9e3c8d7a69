#include <gtest/gtest.h>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "records/DisplayBuilder.h"
#include "records/PrintedReport.h"
#include "shell/Text.h"
#include "support/Builders.h"
#include "support/TempFolder.h"

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

class DisplayBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write(kStudentsFile, StudentRec("Ann", "1", "3") + StudentRec("Bob", "2", "3") +
                                 StudentRec("Cy", "1", "4"));
    dir.Write(kRecordsFile, r1 + r2 + r3 + r4 + r5 + r6 + r7 + r8);
    FillUnitTestNames(&values.UnitTestNames);
    values.PassingGrade = 70;
  }
  // "name date" of each shown line.
  std::vector<std::string> Run(int cls, int stu) {
    EXPECT_TRUE(DisplayNew(dir.folder(), values, lists, cls, stu, &run).ok());
    std::vector<std::string> out;
    for (const auto& l : run.lines)
      out.push_back(TrimRight(l.substr(0, 16)) + " " + l.substr(17, 6));
    return out;
  }
  testing::TempFolder dir;
  SharedValues values;
  WorkingLists lists;
  DisplayRun run;
};

using Lines = std::vector<std::string>;

TEST_F(DisplayBuilderTest, WorkingListsAndTheMostRecentTestByFileOrder) {
  ASSERT_TRUE(BuildWorkingLists(dir.folder(), &lists).ok());
  EXPECT_EQ(lists.lstRecords1.size(), 8u);
  EXPECT_EQ(lists.lstRecords1[4].substr(0, 2), "C7");  // S1
  EXPECT_EQ(lists.lstRecords1[5].substr(0, 2), "P7");  // S4
  EXPECT_EQ(lists.lstRecords1[6].substr(0, 2), "C8");  // S6
  EXPECT_EQ(lists.lstRecords2.ToVector(),
            (Lines{r2, r3, r4, NormalizeRecord(r6), NormalizeRecord(r7)}));
  EXPECT_EQ(lists.lstSorted[0], "C33 1 045700001     " + r2);
  EXPECT_EQ(lists.lstSorted.size(), 5u);
  // Groups in descending key order; r4 (older date, later in the file) wins
  // over r2; the lesson test and the unit test of unit 4 stay apart.
  EXPECT_EQ(lists.lstRecords3.ToVector(),
            (Lines{NormalizeRecord(r6), NormalizeRecord(r7), r3, r4}));
  ASSERT_TRUE(WriteWorkingFile(dir.folder(), lists, 3).ok());
  EXPECT_EQ(dir.Read(kWorkingFile), NormalizeRecord(r6) + NormalizeRecord(r7) + r3 + r4);
}

TEST_F(DisplayBuilderTest, DataGroupsOfAClassByName) {
  values.DataGroup = 1;
  EXPECT_EQ(Run(3, -1), (Lines{"Ann 091026", "Ann 091526", "Ann 091626", "Ann 091726", "Bob 090126",
                               "Bob 100126", "Bob 100226"}));
  EXPECT_EQ(values.RecordsFound, 7);
  EXPECT_FALSE(run.one_student);
  values.DataGroup = 2;
  EXPECT_EQ(Run(3, -1), (Lines{"Ann 091026", "Ann 091626", "Ann 091726", "Bob 100226"}));
  values.DataGroup = 3;
  EXPECT_EQ(Run(3, -1), (Lines{"Ann 091026", "Ann 091726", "Bob 100226"}));
  EXPECT_EQ(dir.Read(kWorkingFile), NormalizeRecord(r6) + NormalizeRecord(r7) + r3 + r4);
}

TEST_F(DisplayBuilderTest, SortKeysAndDirections) {
  values.SortBy = 2;  // date
  EXPECT_EQ(Run(3, -1), (Lines{"Bob 090126", "Ann 091026", "Ann 091526", "Ann 091626", "Ann 091726",
                               "Bob 100126", "Bob 100226"}));
  values.SortDirection = 1;
  EXPECT_EQ(Run(3, -1), (Lines{"Bob 100226", "Bob 100126", "Ann 091726", "Ann 091626", "Ann 091526",
                               "Ann 091026", "Bob 090126"}));
  values.SortDirection = 0;
  values.SortBy = 1;  // percent: 50, 70, 75, 90, 90, 100, 100
  EXPECT_EQ(Run(3, -1), (Lines{"Bob 090126", "Ann 091626", "Ann 091726", "Ann 091026", "Ann 091526",
                               "Bob 100126", "Bob 100226"}));
  values.SortBy = 3;  // lesson label: "" (no catalogue) < "Test..." < "Unit Test: ..."
  EXPECT_EQ(Run(3, -1), (Lines{"Ann 091026", "Ann 091526", "Ann 091626", "Bob 090126", "Bob 100126",
                               "Bob 100226", "Ann 091726"}));
}

TEST_F(DisplayBuilderTest, TheReversedTieBreak) {
  dir.Write(kRecordsFile, ActRec("C3", "3", "1", "091526", "04", "07", "10", "1", "1") +
                              ActRec("C3", "3", "1", "091526", "04", "07", "10", "2", "2"));
  values.SortBy = 2;
  Run(3, 1);
  EXPECT_EQ(values.RecordLines[0].substr(36, 3), "1  ");
  EXPECT_EQ(values.SortKeys[0], "260915Ann                  0001");
  values.SortDirection = 1;
  Run(3, 1);
  EXPECT_EQ(values.RecordLines[0].substr(36, 3), "2  ");
  EXPECT_TRUE(run.one_student);
}

TEST_F(DisplayBuilderTest, PercentKeys) {
  const TitleTables tables{values.Catalogue, values.UnitTestNames};
  auto key = [&](const char* att, const char* cor) {
    return DisplaySortKey(
        tables, ComposeRecordLine(ActRec("C3", "3", "1", "091526", "04", "07", att, cor, "1"), ""),
        1, 7);
  };
  const std::string tail = std::string(21, ' ') + "2609150007";
  EXPECT_EQ(key("8", "1"), "013" + tail);
  EXPECT_EQ(key("8", "0"), "   " + tail);  // before "000" in increasing order
  EXPECT_EQ(key("0", "3"), "100" + tail);  // the line shows 100 percent
  EXPECT_EQ(key("1", "200"), "20000" + tail);
}

TEST_F(DisplayBuilderTest, ReRunsWithMinus99ReuseTheWorkingLists) {
  EXPECT_EQ(Run(3, 2).size(), 3u);
  EXPECT_EQ(values.LastDisplayClass, 3);
  EXPECT_EQ(values.LastDisplayStudent, 2);
  dir.Write(kRecordsFile,
            dir.Read(kRecordsFile) + ActRec("C3", "3", "2", "120126", "04", "07", "10", "9", "25"));
  values.ReuseWorkingLists = true;
  values.DataGroup = 1;
  EXPECT_EQ(Run(-99, -99).size(), 3u);  // appended records wait for the next display
  values.DataGroup = 2;
  EXPECT_EQ(Run(-99, -99), (Lines{"Bob 100226"}));
  values.ReuseWorkingLists = false;
  values.DataGroup = 1;
  EXPECT_EQ(Run(-99, -99).size(), 4u);
}

TEST_F(DisplayBuilderTest, MinusOneMeansEveryClassOrEveryStudent) {
  EXPECT_EQ(Run(-1, -1).size(), 8u);
  EXPECT_EQ(Run(-1, 1).size(), 5u);  // student 1 of classes 3 and 4
  EXPECT_EQ(Run(4, -1), (Lines{"Cy 100326"}));
}

TEST_F(DisplayBuilderTest, NothingSelected) {
  EXPECT_TRUE(Run(4, 9).empty());
  EXPECT_EQ(values.RecordsFound, 0);
  dir.Write(kRecordsFile, "");
  EXPECT_TRUE(Run(3, -1).empty());
  EXPECT_EQ(values.RecordsFound, 0);
}

TEST_F(DisplayBuilderTest, PrintedReportOrderAndBlankLinesBetweenStudents) {
  RecordsReport report;
  values.SortBy = 2;  // the report ignores the display's sort key
  ASSERT_TRUE(BuildRecordsReport(dir.folder(), values, 3, -1, &report).ok());
  EXPECT_EQ(report.heading_name, "All Students");
  std::vector<std::string> body =
      RecordsReportBody({values.Catalogue, values.UnitTestNames}, report.record_lines, 70);
  ASSERT_EQ(body.size(), 8u);
  EXPECT_EQ(body[0].substr(0, 23), "Ann              091026");
  EXPECT_EQ(body[4], " ");
  EXPECT_EQ(body[5].substr(0, 23), "Bob              090126");
  EXPECT_EQ(RecordsReportHeadings("Ann      ", 70, 2)[0],
            "STUDENT RECORDS: Ann   /   Test Passing Grade: 70%   /   Showing: Tests Only");
  values.SortDirection = 1;
  ASSERT_TRUE(BuildRecordsReport(dir.folder(), values, 3, 1, &report).ok());
  EXPECT_EQ(report.heading_name, "Ann                  ");
  EXPECT_EQ(report.record_lines.front().substr(21, 6), "260917");
}

}  // namespace
}  // namespace quillon

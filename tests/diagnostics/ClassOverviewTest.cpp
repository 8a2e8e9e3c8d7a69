// The class overview of the hand-worked folder (support/core/OverviewFolder.h),
// every figure worked out by hand: the tab-separated text, the CSV bytes,
// and what changes with all results, no range and the other test.
#include <gtest/gtest.h>

#include "diagnostics/ClassOverview.h"
#include "diagnostics/ClassOverviewText.h"
#include "support/core/Builders.h"
#include "support/core/OverviewFolder.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

class ClassOverviewTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::WriteOverviewFolder(dir); }
  ClassOverview Overview(const char* test, bool latest, bool ranged) {
    OverviewRequest request;
    request.classnum = 3;
    request.test_code = test;
    request.latest_only = latest;
    if (ranged) request.range = {20260901, 20261231};
    ClassOverview overview;
    EXPECT_TRUE(BuildClassOverview(dir.folder(), request, &overview, &tests).ok());
    return overview;
  }
  static std::vector<int> Wrong(const ClassOverview& o) {
    return std::vector<int>(o.wrong.begin() + 1, o.wrong.end());
  }
  static std::vector<std::string> Reteach(const ClassOverview& o) {
    std::vector<std::string> rows;
    for (const auto& row : o.reteach) {
      rows.push_back(std::to_string(row.problem) + ":" + std::to_string(row.students.size()));
    }
    return rows;
  }
  testing::TempFolder dir;
  std::vector<TestResults> tests;
};

// Every figure as support/core/OverviewFolder.h works it out.
TEST_F(ClassOverviewTest, HandWorkedRangeLatestOnly) {
  const ClassOverview o = Overview("C1", true, true);
  EXPECT_EQ(OverviewTabLines(o, "Algebra Lab"), testing::kOverviewRangeLatestTabs);
  // The student not on the roster is counted under an empty name, first.
  ASSERT_EQ(o.reteach[0].students.size(), 4u);
  EXPECT_EQ(o.reteach[0].students[0].student, 9);
  EXPECT_EQ(o.reteach[0].students[0].name, "");
  // The class's tests, whatever the range: seven Pre-Algebra results (not
  // the "c1"), one Algebra 1.
  ASSERT_EQ(tests.size(), 2u);
  EXPECT_EQ(tests[0].code + std::to_string(tests[0].results), "C17");
  EXPECT_EQ(tests[1].code + std::to_string(tests[1].results), "C21");
  EXPECT_EQ(MostResultsTest(tests), "C1");
}

TEST_F(ClassOverviewTest, CsvBytes) {
  const std::string csv =
      "\xEF\xBB\xBF"
      "Class Overview\r\n"
      "Class,Test,Test name,Results,Students,Latest result of each student,From,To,Not "
      "scored,Without a date\r\n"
      "Algebra Lab,C1,Pre-Algebra,4,4,yes,2026-09-01,2026-12-31,1,1\r\n"
      "\r\n"
      "Problems\r\n"
      "Problem,Area,Wrong,Of,Wrong %,Lesson,Lesson title\r\n"
      "1,1,0,4,0,PA0101,Place Value\r\n"
      "2,1,0,4,0,PA0102,Rounding Numbers\r\n"
      "3,1,0,4,0,PA0103,Adding Whole Numbers\r\n"
      "4,1,1,4,25,PA0104,Subtracting Whole Numbers\r\n"
      "5,1,2,4,50,PA0201,Multiplying by Whole Numbers\r\n"
      "6,1,3,4,75,PA0202,Dividing by Whole Numbers\r\n"
      "7,1,4,4,100,PA0203,Word Problems\r\n"
      "8,2,0,4,0,PA0401,Fractions and Mixed Numbers\r\n"
      "9,2,0,4,0,PA0402,Equivalent Fractions\r\n"
      "10,2,0,4,0,PA0403,Reducing Fractions to Lowest Terms\r\n"
      "11,2,0,4,0,PA0404,Comparing Fractions\r\n"
      "12,2,0,4,0,PA0405,Adding Fractions\r\n"
      "13,2,1,4,25,PA0406,Subtracting Fractions\r\n"
      "14,2,1,4,25,PA0501,Multiplying Fractions\r\n"
      "15,2,2,4,50,PA0502,Dividing Fractions\r\n"
      "16,2,3,4,75,PA0503,Word Problems\r\n"
      "17,3,0,4,0,PA0601,Place Value and Decimal Numbers\r\n"
      "18,3,0,4,0,PA0602,Comparing/Rounding Decimal Numbers\r\n"
      "19,3,0,4,0,PA0603,Adding Decimal Numbers\r\n"
      "20,3,0,4,0,PA0604,Subtracting Decimal Numbers\r\n"
      "21,3,0,4,0,PA0605,Multiplying Decimal Numbers\r\n"
      "22,3,0,4,0,PA0606,Dividing Decimal Numbers\r\n"
      "23,3,0,4,0,PA0607,Word Problems\r\n"
      "24,4,0,4,0,PA0301,Divisibility Rules\r\n"
      "25,4,0,4,0,PA0302,Factoring Whole Numbers\r\n"
      "26,4,2,4,50,PA0701,The Number Line\r\n"
      "27,4,2,4,50,PA0303,Finding the GCF and LCM\r\n"
      "28,4,0,4,0,PA0304,Using Exponents\r\n"
      "29,4,0,4,0,PA0305,Order of Operations\r\n"
      "30,4,4,4,100,PA1001,Percents and Decimal Numbers\r\n"
      "\r\n"
      "Skill Areas\r\n"
      "Area,Skill area,Problems,Poor,Fair,Good,Mean correct\r\n"
      "1,Basic Operations with Integers,7,1,2,1,4.5\r\n"
      "2,Basic Operations with Fractions,9,1,1,2,7.3\r\n"
      "3,Basic Operations with Decimals,7,0,0,4,7.0\r\n"
      "4,Other Operations with Integers,7,0,3,1,5.0\r\n"
      "\r\n"
      "Lessons to Reteach\r\n"
      "Lesson,Lesson title,Unit,Students,Of,Names\r\n"
      "PA0203,Word Problems,UNIT 2: Whole Numbers: Mult. & Dividing,4,4,\"; Ann Baker; Cho, Bob; "
      "Cy M\xC3\xBCller\"\r\n"
      "PA1001,Percents and Decimal Numbers,UNIT 10: Percent,4,4,\"; Ann Baker; Cho, Bob; Cy "
      "M\xC3\xBCller\"\r\n"
      "PA0202,Dividing by Whole Numbers,UNIT 2: Whole Numbers: Mult. & Dividing,3,4,\"Ann Baker; "
      "Cho, Bob; Cy M\xC3\xBCller\"\r\n"
      "PA0503,Word Problems,UNIT 5: Fractions & Mixed Nos: Mult/Div,3,4,\"; Cho, Bob; Cy "
      "M\xC3\xBCller\"\r\n"
      "PA0201,Multiplying by Whole Numbers,UNIT 2: Whole Numbers: Mult. & Dividing,2,4,\"Ann "
      "Baker; Cho, Bob\"\r\n"
      "PA0502,Dividing Fractions,UNIT 5: Fractions & Mixed Nos: Mult/Div,2,4,; Cy M\xC3\xBCller\r\n"
      "PA0701,The Number Line,UNIT 7: Positive and Negative Numbers,2,4,\"; Cho, Bob\"\r\n"
      "PA0303,Finding the GCF and LCM,UNIT 3: Whole Numbers: Other Operations,2,4,; Cy "
      "M\xC3\xBCller\r\n"
      "PA0104,Subtracting Whole Numbers,UNIT 1: Whole Numbers: Adding & Subtr.,1,4,Ann Baker\r\n"
      "PA0406,Subtracting Fractions,UNIT 4: Fractions & Mixed Nos: Add/Subtr,1,4,\r\n"
      "PA0501,Multiplying Fractions,UNIT 5: Fractions & Mixed Nos: Mult/Div,1,4,\r\n";
  EXPECT_EQ(OverviewCsv(Overview("C1", true, true), "Algebra Lab"), csv);
}

// Every result of the range: Ann's earlier result (wrong 1, 2, 30) counts
// too, but a lesson her two plans both name counts her once.
TEST_F(ClassOverviewTest, AllResultsCountEachStudentOncePerLesson) {
  const ClassOverview o = Overview("C1", false, true);
  EXPECT_EQ(OverviewCounts(o), "5 results of 4 students, all results");
  EXPECT_EQ(Wrong(o), (std::vector<int>{1, 1, 0, 1, 2, 3, 4, 0, 0, 0, 0, 0, 1, 1, 2,
                                        3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 0, 0, 5}));
  // Area 1 gains a Fair (5 correct): 23 / 5; area 4 a Good (6): 26 / 5.
  const std::array<OverviewTable, 3> tables = OverviewTables(o);
  EXPECT_EQ(
      tables[kAreasTable].rows[0],
      (std::vector<std::string>{"1", "Basic Operations with Integers", "7", "1", "3", "1", "4.6"}));
  EXPECT_EQ(tables[kAreasTable].rows[1].back(), "7.6");
  EXPECT_EQ(
      tables[kAreasTable].rows[3],
      (std::vector<std::string>{"4", "Other Operations with Integers", "7", "0", "3", "2", "5.2"}));
  EXPECT_EQ(Reteach(o),
            (std::vector<std::string>{"7:4", "30:4", "6:3", "16:3", "5:2", "15:2", "26:2", "27:2",
                                      "1:1", "2:1", "4:1", "13:1", "14:1"}));
  EXPECT_EQ(tables[kReteachTable].rows[1][4], "4");  // of 4 students, not 5 results
}

// Without a range no result is left out for its date: Dee's latest by place
// (08/15/26) counts, and with all results her undated one too.
TEST_F(ClassOverviewTest, WithoutARangeAndTheOtherTest) {
  ClassOverview o = Overview("C1", true, false);
  EXPECT_EQ(OverviewHeading(o, "Algebra Lab"),
            "Algebra Lab   /   Pre-Algebra (C1)   /   Dates: all dates   /   5 results of 5 "
            "students, the latest result of each   /   Left out: 1 result not scored (test code "
            "not known)");
  EXPECT_EQ(o.wrong[17], 1);
  EXPECT_EQ(OverviewCounts(Overview("C1", false, false)), "7 results of 5 students, all results");

  // Algebra 1: problems 19 and 21 share one lesson, listed once; 27-29 share
  // a code but not a title. Area 4 (10 problems) at 8 is Good, area 6 (5)
  // at 2 Poor; its name holds commas, quoted in the CSV file.
  o = Overview("C2", true, false);
  EXPECT_EQ(OverviewHeading(o, "Algebra Lab"),
            "Algebra Lab   /   Algebra 1 (C2)   /   Dates: all dates   /   1 result of 1 student, "
            "the latest result of each   /   Left out: 1 result not scored (test code not known)");
  EXPECT_EQ(Reteach(o), (std::vector<std::string>{"19:1", "27:1", "28:1", "29:1"}));
  const std::array<OverviewTable, 3> tables = OverviewTables(o);
  EXPECT_EQ(tables[kAreasTable].rows[3][5], "1");
  EXPECT_EQ(tables[kAreasTable].rows[5][3], "1");
  EXPECT_EQ(tables[kReteachTable].rows[2][1], "Solving Linear Equations");
  EXPECT_NE(OverviewCsv(o, "Algebra Lab")
                .find("\r\n6,\"Variables, Expressions, Equations\",5,1,0,0,2.0\r\n"),
            std::string::npos);

  // A class without results of the test: nothing counted, empty tables.
  OverviewRequest request;
  request.classnum = 6;
  request.test_code = "C1";
  ASSERT_TRUE(BuildClassOverview(dir.folder(), request, &o, &tests).ok());
  EXPECT_EQ(o.results, 0);
  EXPECT_TRUE(tests.empty());
  EXPECT_TRUE(OverviewTables(o)[kProblemsTable].rows.empty());
}

TEST(ClassOverviewRules, DatesPercentsAndMeans) {
  struct Date {
    const char* date;
    int day;  // 0: no day
  } dates[] = {{"093026", 20260930}, {" 9 526", 20260905}, {"123179", 20791231},
               {"010180", 19800101}, {"022924", 20240229}, {"022926", 0},
               {"000000", 0},        {"13 126", 0},        {"0930 6", 0},
               {"09/30/", 0},        {"AB0126", 0},        {"0930", 0}};
  for (const Date& d : dates) {
    const std::string record = std::string("C13 1 ") + d.date;
    EXPECT_EQ(DiagTestDay(record).value_or(0), d.day) << d.date;
  }
  // Halves up, never to the even neighbour.
  EXPECT_EQ(PercentOf(1, 8), 13);
  EXPECT_EQ(PercentOf(5, 8), 63);
  EXPECT_EQ(PercentOf(1, 3), 33);
  EXPECT_EQ(PercentOf(0, 0), 0);
  EXPECT_EQ(MeanText(29, 4), "7.3");
  EXPECT_EQ(MeanText(1, 40), "0.0");
  EXPECT_EQ(MeanText(1, 20), "0.1");
  EXPECT_EQ(MeanText(300, 10), "30.0");
  EXPECT_EQ(MeanText(5, 0), "");
}

}  // namespace
}  // namespace quillon

#include <gtest/gtest.h>

#include "records/RecordLine.h"
#include "support/core/Builders.h"

namespace quillon {
namespace {

using testing::ActRec;

class RecordLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue.UnitLessonTitles[3][4][7] = "Similar Triangles";
    catalogue.UnitLessonTitles[3][4][3] = "Lesson Three";
    catalogue.NumberedLessonTitles[2][12] = "Twelfth Lesson";
    FillUnitTestNames(&names);
  }
  std::string Line(const char* code, const char* unit, const char* lesson, const char* att,
                   const char* cor, const char* min, std::string_view name = kAnn) {
    return ComposeRecordLine(ActRec(code, "3", "12", "091526", unit, lesson, att, cor, min), name);
  }
  std::string Screen(const std::string& line, int grade = 70) {
    return FormatRecordLine({catalogue, names}, line, grade);
  }
  std::string Paper(const std::string& line, int grade = 70) {
    return FormatPrintLine({catalogue, names}, line, grade);
  }
  static constexpr char kAnn[] = "Ann Baker            ";
  LessonCatalogue catalogue;
  UnitNameTable names;
};

TEST_F(RecordLineTest, ComposedLineLayout) {
  EXPECT_EQ(Line("C3", "04", "57", "10 ", "9  ", "25 "),
            std::string(kAnn) + "26" + "0915" + "C3" + "04" + "07" + "10 9  25 " + "T");
  EXPECT_EQ(Line("C3", "54", "00", "10", "9", "25"),
            std::string(kAnn) + "260915C3" + "0400" + "10 9  25 U");
  EXPECT_EQ(Line("P2", "99", "12", "10", "9", "25"),
            std::string(kAnn) + "260915P2" + "9912" + "10 9  25  ");
  // A student not on the roster keeps the name field 21 wide.
  std::string unknown = Line("C3", "04", "07", "1", "1", "1", "");
  EXPECT_EQ(unknown.size(), 43u);
  EXPECT_EQ(unknown.substr(0, 21), std::string(21, ' '));
}

TEST_F(RecordLineTest, ScreenLinesColumnByColumn) {
  struct Case {
    std::string line;
    std::string expected;
  } cases[] = {
      {Line("C3", "04", "07", "10", "9", "25"),
       std::string("Ann Baker       ") + " " + "091526" + " " + "V&T-Geom " + " " +
           "Similar Triangles       " + "  " + "Practice   " + " " + " 10" + "  " + "   9" + "  " +
           "  90" + "  " + "   A          " + " 25"},
      {Line("C3", "04", "53", "10", "7", "5"),
       std::string("Ann Baker       ") + " 091526 " + "V&T-Geom " + " " +
           "Lesson Three            " + "  " + "Lesson Test" + " " + " 10" + "  " + "   7" + "  " +
           "  70" + "  " + "         Yes  " + "  5"},
      {Line("C3", "54", "00", "10", "6", "5"),
       std::string("Ann Baker       ") + " 091526 " + "V&T-Geom " + " " +
           "Unit 4: Quadrilaterals  " + "  " + "Unit Test  " + " " + " 10" + "  " + "   6" + "  " +
           "  60" + "  " + "         No   " + "  5"},
      {Line("P2", "99", "12", "4", "4", "12"),
       std::string("Ann Baker       ") + " 091526 " + "K&J-Alg1 " + " " +
           "Twelfth Lesson          " + "  " + "Practice   " + " " + "  4" + "  " + "   4" + "  " +
           " 100" + "  " + "              " + " 12"},
      // A "P" test reads "Practice" and carries a grade; its title is cut to 24.
      {Line("P2", "05", "12", "5", "4", "1"),
       std::string("Ann Baker       ") + " 091526 " + "K&J-Alg1 " + " " +
           "Test...various prob type" + "  " + "Practice   " + " " + "  5" + "  " + "   4" + "  " +
           "  80" + "  " + "   B          " + "  1"},
      // Numbers wider than their columns push the rest right.
      {Line("C3", "04", "07", "999", "998", "999"),
       std::string("Ann Baker       ") + " 091526 " + "V&T-Geom " + " " +
           "Similar Triangles       " + "  " + "Practice   " + " " + "999" + "  " + " 998" + "  " +
           " 100" + "  " + "   A          " + "999"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Screen(c.line), c.expected);
    EXPECT_EQ(c.expected.size(), 106u);
  }
  std::string wide = Screen(Line("C3", "04", "07", "1", "200", "1"));
  EXPECT_EQ(wide.substr(83, 7), "20000  ");  // the percent's five digits push on
  EXPECT_EQ(wide.size(), 107u);
}

TEST_F(RecordLineTest, PrintedLinesColumnByColumn) {
  EXPECT_EQ(Paper(Line("P2", "05", "12", "5", "4", "1")),
            std::string("Ann Baker       ") + " 091526 " + "K&J-Alg1" + " " +
                "Test...various prob types  " + "  " + "Practice   " + " " + "  5" + "  " + "   4" +
                "  " + "  80" + "  " + "    B           " + "   1");
  EXPECT_EQ(Paper(Line("C3", "04", "53", "10", "7", "5")),
            std::string("Ann Baker       ") + " 091526 " + "V&T-Geom" + " " +
                "Lesson Three               " + "  " + "Lesson Test" + " " + " 10" + "  " + "   7" +
                "  " + "  70" + "  " + "           Yes  " + "   5");
  EXPECT_EQ(Paper(Line("C3", "04", "53", "10", "6", "5")).substr(91, 16), "           No   ");
  EXPECT_EQ(Paper(Line("C3", "04", "07", "1", "1", "1")).size(), 111u);
  // A long name is cut to 16 on both lines.
  std::string longname = Line("C3", "04", "07", "1", "1", "1", "Bartholomew Fitzgera");
  EXPECT_EQ(Screen(longname).substr(0, 17), "Bartholomew Fitz ");
  EXPECT_EQ(Paper(longname).substr(0, 17), "Bartholomew Fitz ");
}

TEST_F(RecordLineTest, GradingBoundaries) {
  struct Case {
    const char *att, *cor;
    int passing;
    long long percent;
    char grade;
  } cases[] = {
      {"0", "0", 100, 100, ' '}, {"4", "4", 70, 100, ' '},    {"5", "5", 70, 100, 'A'},
      {"19", "17", 70, 89, 'B'}, {"200", "179", 70, 90, 'A'}, {"8", "1", 70, 13, 'D'},
      {"3", "2", 70, 67, ' '},   {"10", "7", 70, 70, 'C'},    {"10", "8", 70, 80, 'B'},
  };
  for (const Case& c : cases) {
    Grading g = GradeRecordLine(Line("C3", "04", "07", c.att, c.cor, "1"), c.passing);
    EXPECT_EQ(g.percent, c.percent) << c.cor << "/" << c.att;
    EXPECT_EQ(g.grade, c.grade) << c.cor << "/" << c.att;
  }
  // A test with nothing attempted passes any grade up to 100.
  EXPECT_TRUE(GradeRecordLine(Line("C3", "04", "57", "0", "0", "1"), 100).passed);
  EXPECT_TRUE(GradeRecordLine(Line("C3", "04", "57", "100", "70", "1"), 70).passed);
  EXPECT_FALSE(GradeRecordLine(Line("C3", "04", "57", "100", "69", "1"), 70).passed);
}

TEST_F(RecordLineTest, TitlesOutsideTheTablesAreEmpty) {
  EXPECT_EQ(LessonTitleOf({catalogue, names}, Line("C8", "54", "00", "1", "1", "1")), "Unit 4: ");
  EXPECT_EQ(LessonTitleOf({catalogue, names}, Line("C9", "04", "07", "1", "1", "1")), "");
  EXPECT_EQ(LessonTitleOf({catalogue, names}, Line("X3", "99", "07", "1", "1", "1")), "");
  EXPECT_EQ(LessonTitleOf({catalogue, names}, Line("C3", "04", "20", "1", "1", "1")), "");
  EXPECT_EQ(Screen(Line("X3", "99", "07", "1", "1", "1")).substr(24, 36), std::string(36, ' '));
}

}  // namespace
}  // namespace quillon

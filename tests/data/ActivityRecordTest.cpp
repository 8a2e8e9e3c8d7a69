#include <gtest/gtest.h>

#include "data/ActivityRecord.h"
#include "support/core/Builders.h"

namespace quillon {
namespace {

using testing::ActRec;

TEST(CourseTitleTest, ComparedInCapitalsAlternatesHaveNone) {
  EXPECT_EQ(CourseTitle("c3"), "V&T-Geom");
  EXPECT_EQ(CourseTitle("C7"), "Bus Math");
  EXPECT_EQ(CourseTitle("p7"), "SAT Math");
  EXPECT_EQ(CourseTitle("S1"), "");
  EXPECT_EQ(CourseTitle("C9"), "");
  EXPECT_EQ(CourseTitle(""), "");
  EXPECT_EQ(CourseTitle(NormalizeCourseCode("S1")), "Bus Math");
}

TEST(NormalizeCourseCodeTest, AlternatesOnly) {
  EXPECT_EQ(NormalizeCourseCode("S1"), "C7");
  EXPECT_EQ(NormalizeCourseCode("S4"), "P7");
  EXPECT_EQ(NormalizeCourseCode("S6"), "C8");
  EXPECT_EQ(NormalizeCourseCode("s1"), "s1");
  EXPECT_EQ(NormalizeCourseCode("C2"), "C2");
}

TEST(ClassifyActivityTest, KindsAndOffsets) {
  struct Case {
    const char* code;
    const char* unit;
    const char* lesson;
    char kind;
    int unit_out, lesson_out;
    bool test;
  } cases[] = {
      {"C3", "04", "57", 'T', 4, 7, true},
      {"C3", "54", "00", 'U', 4, 0, true},
      {"C3", "04", "07", ' ', 4, 7, false},
      {"C3", "54", "57", 'T', 54, 7, true},  // the lesson offset is tested first
      {"C3", "50", "50", ' ', 50, 50, false},
      {"P2", "99", "12", ' ', 99, 12, false},
      {"P2", "05", "12", ' ', 5, 12, true},
      {"P2", "  ", "12", ' ', 0, 12, true},
      {"c3", "04", "57", ' ', 4, 57, false},  // lowercase: practice, never a test
      {"X1", "54", "57", ' ', 54, 57, false},
  };
  for (const Case& c : cases) {
    Classification k =
        ClassifyActivity(ActRec(c.code, "1", "1", "010126", c.unit, c.lesson, "1", "1", "1"));
    EXPECT_EQ(k.kind, c.kind) << c.code << c.unit << c.lesson;
    EXPECT_EQ(k.unit, c.unit_out) << c.code << c.unit << c.lesson;
    EXPECT_EQ(k.lesson, c.lesson_out) << c.code << c.unit << c.lesson;
    EXPECT_EQ(k.is_test, c.test) << c.code << c.unit << c.lesson;
  }
}

class ActivityLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue.UnitLessonTitles[3][4][7] = "Similar Triangles";
    catalogue.NumberedLessonTitles[2][12] = "Twelfth";
    FillUnitTestNames(&names);
  }
  std::string Label(const char* code, const char* unit, const char* lesson, char kind) {
    return ActivityLabel(catalogue, names, code, unit, lesson, kind);
  }
  LessonCatalogue catalogue;
  UnitNameTable names;
};

TEST_F(ActivityLabelTest, EachSeries) {
  EXPECT_EQ(Label("C2", "03", "00", 'U'), "Unit Test: Equations");
  EXPECT_EQ(Label("C3", "04", "07", ' '), "Similar Triangles");
  EXPECT_EQ(Label("C3", "04", "07", 'T'), "Similar Triangles");
  EXPECT_EQ(Label("P2", "99", "12", ' '), "Twelfth");
  EXPECT_EQ(Label("P2", "05", "12", ' '), "Test...various prob types");
  // Only a capital "C" is the units-and-lessons series; every other code is
  // labelled as the numbered-lessons series is.
  EXPECT_EQ(Label("c3", "04", "07", ' '), "Test...various prob types");
  EXPECT_EQ(Label("p2", "05", "12", ' '), "Test...various prob types");
  EXPECT_EQ(Label("X1", "05", "01", ' '), "Test...various prob types");
  EXPECT_EQ(Label("X2", "99", "12", ' '), "Twelfth");
}

TEST_F(ActivityLabelTest, OutsideTheTablesIsHarmless) {
  EXPECT_EQ(Label("C8", "03", "00", 'U'), "Unit Test: ");  // no unit names for C8
  EXPECT_EQ(Label("C3", "54", "57", ' '), "");             // offsets still in the numbers
  EXPECT_EQ(Label("C9", "01", "01", ' '), "");
  EXPECT_EQ(Label("P9", "99", "01", ' '), "");
  EXPECT_EQ(Label("P2", "99", "47", ' '), "");
  EXPECT_EQ(Label("C3", "-1", "01", ' '), "");
  EXPECT_EQ(Label("X3", "99", "01", ' '), "");
  EXPECT_EQ(Label("", "", "", ' '), "Test...various prob types");
}

TEST(UnitTestNamesTest, SixtyFiveNamesAfterFilling) {
  UnitNameTable names;
  EXPECT_EQ(names.Name(1, 1), "");  // empty until filled
  FillUnitTestNames(&names);
  int count = 0;
  for (int c = 0; c < 8; ++c) {
    for (int u = 0; u < 21; ++u) count += names.names[c][u].empty() ? 0 : 1;
  }
  EXPECT_EQ(count, 65);
  EXPECT_EQ(names.Name(5, 3), "Right Triangles");
  EXPECT_EQ(names.Name(3, 5), "Right Triangles");
  EXPECT_EQ(names.Name(7, 8), "Cash Purchases & Comparison Shopping");
  EXPECT_EQ(names.Name(4, 10), "");
  EXPECT_EQ(names.Name(8, 1), "");
  EXPECT_EQ(names.Name(1, 21), "");
}

}  // namespace
}  // namespace quillon

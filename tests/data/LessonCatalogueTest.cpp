#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "data/LessonCatalogue.h"
#include "support/core/Builders.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

TEST(LessonCatalogueTest, HandWrittenFileFieldByField) {
  // C1: two units, the second without lessons; a quoted title with a comma.
  std::string text =
      "\"Pre-Algebra\",2,2,0\r\n\"Unit One\",\"Unit, Two\"\r\n  Lesson A  ,\"Lesson, B\"\r\n";
  for (int c = 2; c <= 6; ++c) text += "\"C\",1,1,\"U\",\"L" + std::to_string(c) + "\"\r\n";
  for (int c = 1; c <= 6; ++c) text += "\"P\",2,\"P" + std::to_string(c) + " one\",two\r\n";
  text += "\"Bus\",1,1,\"Bus unit\",\"Bus lesson\"\r\n\"SAT\",1,\"SAT one\"\r\n";
  text += "\"Foun\",1,0,\"Foun unit\"\r\nanything after the blocks is not read,\"";
  LessonCatalogue c;
  ASSERT_TRUE(ParseLessons(text, &c).ok());
  EXPECT_EQ(c.UnitTitles[1][1], "Unit One");
  EXPECT_EQ(c.UnitTitles[1][2], "Unit, Two");
  EXPECT_EQ(c.UnitLessonTitles[1][1][1], "Lesson A");
  EXPECT_EQ(c.UnitLessonTitles[1][1][2], "Lesson, B");
  EXPECT_EQ(c.UnitLessonTitles[1][2][1], "");
  EXPECT_EQ(c.UnitLessonTitles[4][1][1], "L4");
  EXPECT_EQ(c.NumberedLessonTitles[3][1], "P3 one");
  EXPECT_EQ(c.NumberedLessonTitles[3][2], "two");
  EXPECT_EQ(c.UnitLessonTitles[7][1][1], "Bus lesson");
  EXPECT_EQ(c.NumberedLessonTitles[7][1], "SAT one");
  EXPECT_EQ(c.UnitTitles[8][1], "Foun unit");
  EXPECT_EQ(c.UnitTitles[0][0], "");
}

TEST(LessonCatalogueTest, BadFilesNameTheBlockAndFieldAndLeaveTheCatalogue) {
  std::string good = testing::MinimalLessons();
  struct Case {
    std::string text;
    const char* message;
  } cases[] = {
      {"", "the file ends before the units block of course C1: its heading"},
      {good.substr(0, good.size() / 2), "the file ends before"},
      {"\"h\",15",
       "the units block of course C1: the number of units (line 1) is 15, not a count from 0 "
       "to 14"},
      {"\"h\",2,1,x",
       "the units block of course C1: the lesson count of unit 2 (line 1) is "
       "\"x\", not a number"},
      {"\"h\",1,15", "the lesson count of unit 1 (line 1) is 15, not a count from 0 to 14"},
      {"\"h\",-1", "the number of units (line 1) is -1, not a count from 0 to 14"},
      // Line ends inside quotes count: the count stands on line 3.
      {"\"a\r\nb\r\nc\",x", "the number of units (line 3) is \"x\", not a number"},
  };
  for (const Case& c : cases) {
    LessonCatalogue catalogue;
    catalogue.UnitTitles[1][1] = "untouched";
    Status s = ParseLessons(c.text, &catalogue);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.file(), "LESSONS.DAT");
    EXPECT_NE(s.what().find(c.message), std::string::npos) << s.what();
    EXPECT_EQ(catalogue.UnitTitles[1][1], "untouched");
  }
  // A lesson list of more than 46 lessons.
  std::string text;
  for (int c = 1; c <= 6; ++c) text += "\"C\",0\r\n";
  text += "\"P1\",47";
  LessonCatalogue catalogue;
  Status s = ParseLessons(text, &catalogue);
  EXPECT_NE(s.what().find("the lesson list of course P1: the number of lessons (line 7) is 47, "
                          "not a count from 0 to 46"),
            std::string::npos)
      << s.what();
}

// Counts are read as every number field is: "000012" and "12.0" are 12.
TEST(LessonCatalogueTest, CountsFollowTheNumericRule) {
  std::string text;
  for (int c = 1; c <= 6; ++c) text += "\"C\",0\r\n";
  text += "\"P1\",000002,\"one\",\"two\"\r\n\"P2\",2.0,\"uno\",\"dos\"\r\n";
  for (int c = 3; c <= 6; ++c) text += "\"P\",0\r\n";
  text += "\"C7\",0\r\n\"P7\",0\r\n\"C8\",0\r\n";
  LessonCatalogue catalogue;
  ASSERT_TRUE(ParseLessons(text, &catalogue).ok());
  EXPECT_EQ(catalogue.NumberedLessonTitles[1][2], "two");
  EXPECT_EQ(catalogue.NumberedLessonTitles[2][2], "dos");
}

TEST(LessonCatalogueTest, MissingFileIsAnError) {
  testing::TempFolder dir;
  LessonCatalogue c;
  Status s = LoadLessons(dir.folder(), &c);
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.file(), "LESSONS.DAT");
}

TEST(LessonCatalogueTest, TheSampleFileLoads) {
  std::ifstream in(SAMPLE_LESSONS, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  LessonCatalogue c;
  Status s = ParseLessons(text.str(), &c);
  ASSERT_TRUE(s.ok()) << s.ToString();
  EXPECT_EQ(c.UnitLessonTitles[1][1][1], "Place Value");
  EXPECT_EQ(c.UnitLessonTitles[1][10][3], "Word Problems Involving Percent");
  EXPECT_EQ(c.UnitLessonTitles[2][3][4], "Solving Literal Eqns and Formulas");
  EXPECT_EQ(c.UnitTitles[5][2], "Identities, Formulas, Equations");
  EXPECT_FALSE(c.NumberedLessonTitles[1][46].empty());
  EXPECT_FALSE(c.UnitTitles[8][1].empty());
}

}  // namespace
}  // namespace quillon

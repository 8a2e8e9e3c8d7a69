#include <gtest/gtest.h>

#include "base/Text.h"

namespace quillon {
namespace {

TEST(FixWidthTest, PadsCutsAndEmpties) {
  struct Case {
    const char* text;
    int width;
    const char* expected;
  } cases[] = {
      {"abc", 5, "abc  "}, {"abcdef", 4, "abcd"}, {"", 2, "  "}, {"abc", 0, ""}, {"abc", -3, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FixWidth(c.text, c.width), c.expected) << c.text;
}

TEST(NameFieldTest, AlwaysTwentyOneCharactersWithTrailingBlanks) {
  EXPECT_EQ(NameField("Ann Baker            12 3 klm   "), "Ann Baker            ");
  EXPECT_EQ(NameField("Ann"), "Ann                  ");
}

TEST(ValTest, LeadingNumberBlanksSkippedZeroWhenNone) {
  struct Case {
    const char* text;
    double val;
    int val_int;
  } cases[] = {
      {"07", 7, 7},       {" 7", 7, 7},    {"7 ", 7, 7},
      {"  ", 0, 0},       {"ab", 0, 0},    {"3x", 3, 3},
      {"-4", -4, -4},     {"2.5", 2.5, 2}, {"3.5", 3.5, 4},
      {"0.5", 0.5, 0},    {"1 2", 1, 1},   {"", 0, 0},
      {"99", 99, 99},     {".", 0, 0},     {"+8", 8, 8},
      {"\xff\x01", 0, 0}, {"1e5", 1, 1},   {"99999999", 99999999, 32767},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(Val(c.text), c.val) << '"' << c.text << '"';
    EXPECT_EQ(ValInt(c.text), c.val_int) << '"' << c.text << '"';
  }
}

TEST(IsNumericTest, PassingGradeFieldRule) {
  EXPECT_TRUE(IsNumeric("070"));
  EXPECT_TRUE(IsNumeric(" 70"));
  EXPECT_FALSE(IsNumeric("   "));
  EXPECT_FALSE(IsNumeric("7a0"));
  EXPECT_FALSE(IsNumeric("abc"));
}

TEST(RightJustifyTest, WiderNumbersAreNotCut) {
  EXPECT_EQ(RightJustify(7, 3), "  7");
  EXPECT_EQ(RightJustify(1234, 3), "1234");
  EXPECT_EQ(ZeroPad(7, 2), "07");
  EXPECT_EQ(ZeroPad(123, 2), "123");
}

struct SortCase {
  std::vector<std::string> keys, values;
  int direction;
  std::size_t count;
  std::vector<std::string> want_keys, want_values;
};

TEST(SortParallelListsTest, ExamplesOfTheExchangeSort) {
  const SortCase cases[] = {
      {{"b", "a", "c"}, {"1", "2", "3"}, 0, 3, {"a", "b", "c"}, {"2", "1", "3"}},
      {{"b", "a", "c"}, {"1", "2", "3"}, 1, 3, {"c", "b", "a"}, {"3", "1", "2"}},
      {{"b", "a", "c"}, {"1", "2", "3"}, 2, 3, {"b", "a", "c"}, {"1", "2", "3"}},
      {{"b", "a", "c"}, {"1", "2", "3"}, 0, 1, {"b", "a", "c"}, {"1", "2", "3"}},
      {{"b", "a", "c"}, {"1", "2", "3"}, 0, 0, {"b", "a", "c"}, {"1", "2", "3"}},
      // Only the first `count` entries take part.
      {{"c", "b", "a"}, {"1", "2", "3"}, 0, 2, {"b", "c", "a"}, {"2", "1", "3"}},
      // Character codes: a capital B before a small a; a blank before letters.
      {{"a", "B", "a "}, {"1", "2", "3"}, 0, 3, {"B", "a", "a "}, {"2", "1", "3"}},
  };
  for (const SortCase& c : cases) {
    auto keys = c.keys;
    auto values = c.values;
    SortParallelLists(keys, values, c.direction, c.count);
    EXPECT_EQ(keys, c.want_keys);
    EXPECT_EQ(values, c.want_values);
  }
}

}  // namespace
}  // namespace quillon

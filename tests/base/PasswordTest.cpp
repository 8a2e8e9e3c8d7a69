#include <gtest/gtest.h>

#include "base/Password.h"

namespace quillon {
namespace {

TEST(PasswordTest, ShiftsByTenAndTrimsFirst) {
  EXPECT_EQ(ScramblePassword("abc"), "klm");
  EXPECT_EQ(ScramblePassword("  abc "), "klm");
  EXPECT_EQ(UnscramblePassword("klm   "), "abc");
  EXPECT_EQ(UnscramblePassword(" klm"), "abc");
  EXPECT_EQ(ScramblePassword("AZ09"), "Kd:C");
  EXPECT_EQ(UnscramblePassword(""), "");
  EXPECT_EQ(UnscramblePassword("      "), "");
}

TEST(PasswordTest, EveryByteValueRoundTripsInsideAText) {
  for (int b = 0; b < 256; ++b) {
    std::string text = std::string("a") + static_cast<char>(b) + "z";
    EXPECT_EQ(UnscramblePassword(ScramblePassword(text)), text) << "byte " << b;
  }
}

TEST(PasswordTest, CodesOutsideTheByteRangeWrapRound) {
  EXPECT_EQ(ScramblePassword("\xfa"), "\x04");  // 250 + 10 wraps to 4
  EXPECT_EQ(UnscramblePassword("\x04"), "\xfa");
  EXPECT_EQ(UnscramblePassword("\x05"), "\xfb");  // 5 - 10 wraps to 251
}

// As the password window compares: the typed text lowered (Latin-1
// capitals too) and trimmed, the stored one as it is.
TEST(PasswordTest, TheAdministratorPasswordAsTheWindowTakesIt) {
  struct Case {
    std::string admin, typed;
    bool accepted;
  } cases[] = {
      {"abcd", "abcd", true},           {"abcd", "ABCD", true},   {"abcd", "  aBcD ", true},
      {"abcd", "abc", false},           {"abcd", "abcde", false}, {"abcd", "", false},
      {"\xE9t\xE9", "\xC9T\xC9", true},  // été typed ÉTÉ
      {"\xF7", "\xD7", false},           // the multiplication sign is not a capital
      {"\xFE", "\xDE", true},            // þ typed Þ
      {"Abcd", "Abcd", false},           // a capital stored is never matched
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AdminPasswordAccepts(c.admin, c.typed), c.accepted) << c.admin << " / " << c.typed;
  }
}

}  // namespace
}  // namespace quillon

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

}  // namespace
}  // namespace quillon

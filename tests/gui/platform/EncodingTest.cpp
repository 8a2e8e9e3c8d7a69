#include <gtest/gtest.h>

#include "gui/platform/Encoding.h"

namespace quillon {
namespace {

TEST(EncodingTest, AllByteValuesRoundTrip) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  QString text = ToQString(bytes);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(text[233], QChar(0xE9));
  EXPECT_EQ(FromQString(text), bytes);
}

TEST(EncodingTest, CharactersWithoutASingleByteFormAreRefusedOrShown) {
  QString text = QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC");  // "café €"
  EXPECT_EQ(FromQString(text), std::nullopt);
  EXPECT_EQ(FromQStringReplacing(text), "caf\xE9 ?");
}

}  // namespace
}  // namespace quillon

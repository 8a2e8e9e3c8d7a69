#include <gtest/gtest.h>

#include "data/TextFile.h"

namespace quillon {
namespace {

std::vector<std::string> Fields(std::string_view text) {
  FieldReader reader(text);
  std::vector<std::string> out;
  while (auto f = reader.Next()) out.push_back(*f);
  return out;
}

TEST(FieldReaderTest, SeparatorsQuotesAndBlanks) {
  struct Case {
    const char* text;
    std::vector<std::string> fields;
  } cases[] = {
      {"a,b,c", {"a", "b", "c"}},
      {"a\r\nb\nc\r", {"a", "b", "c"}},
      {"\"x, y\",z", {"x, y", "z"}},
      {"  a  ,  b  ", {"a", "b"}},
      {"\" keep \",b", {" keep ", "b"}},
      {"a,\r\nb", {"a", "b"}},   // a comma at the line end is one separator
      {"a,,b", {"a", "", "b"}},  // an empty field between two commas
      {"\"\",b", {"", "b"}},
      {"a\r\n\r\nb", {"a", "b"}},  // blank lines add nothing
      {"\"open", {"open"}},        // a quote never closed runs to the end
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Fields(c.text), c.fields) << c.text;
}

TEST(FirstLineTest, LineEndsAndEmptyFiles) {
  EXPECT_EQ(FirstLine("abc\r\ndef"), "abc");
  EXPECT_EQ(FirstLine("abc"), "abc");
  EXPECT_EQ(FirstLine("\r\nabc"), "");
  EXPECT_EQ(FirstLine(""), std::nullopt);
}

TEST(JoinCrlfLinesTest, EveryLineEndsWithCrLf) {
  EXPECT_EQ(JoinCrlfLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinCrlfLines({}), "");
}

}  // namespace
}  // namespace quillon

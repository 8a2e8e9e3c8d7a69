// The files' Latin-1 text shown in a terminal's encoding and typed text
// stored back: exact bytes both ways, the characters that cannot be shown
// or stored, and the control bytes that never reach a terminal.
#include <gtest/gtest.h>

#include "base/TextEncoding.h"

namespace quillon {
namespace {

TEST(TextEncodingTest, FileTextAsEachTerminalShowsIt) {
  // "Gé<ESC>[2Jo¤\t\f" : an accent, a terminal command, the currency sign,
  // a tab and a form feed, and a C1 control (0x9B, CSI).
  const std::string stored = "G\xE9\x1B[2Jo\xA4\x9B\t\f";
  struct Case {
    TextEncoding encoding;
    std::string shown;
  } cases[] = {
      {TextEncoding::Named("UTF-8"), "G\xC3\xA9?[2Jo\xC2\xA4?\t\f"},
      {TextEncoding::Named("utf8"), "G\xC3\xA9?[2Jo\xC2\xA4?\t\f"},
      {TextEncoding::Named("ANSI_X3.4-1968"), "G??[2Jo??\t\f"},
      {TextEncoding::Named("ISO-8859-1"), "G\xE9?[2Jo\xA4?\t\f"},
      // Through iconv: é is 0xE9 in Latin-9 too, but ¤ gave its place to €.
      {TextEncoding::Named("ISO-8859-15"), "G\xE9?[2Jo??\t\f"},
      {TextEncoding::Named("KOI8-R"), "G??[2Jo??\t\f"},
      {TextEncoding::Named("NO-SUCH-CODESET"), "G??[2Jo??\t\f"},
      {TextEncoding::Stored(), stored},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.encoding.Show(stored), c.shown) << c.encoding.name();
  }
  EXPECT_EQ(Latin1ToUtf8("\xC9l\xE8ve \x1B\xFF"), "\xC3\x89l\xC3\xA8ve \x1B\xC3\xBF");
}

TEST(TextEncodingTest, TypedTextStoredOrRefusedNamingTheCharacter) {
  const std::string cannot = " cannot be stored: the program's files hold only Latin-1 characters";
  struct Case {
    TextEncoding encoding;
    std::string typed;
    bool ok;
    std::string result;  // the stored bytes, or the problem
  } cases[] = {
      {TextEncoding::Named("UTF-8"), "G\xC3\xA9om\xC3\xA9trie", true, "G\xE9om\xE9trie"},
      {TextEncoding::Named("UTF-8"), "\xC3\xBF", true, "\xFF"},
      {TextEncoding::Named("UTF-8"),
       "\xC4\x9C"
       "eo",
       false, "the character \"\xC4\x9C\" (U+011C)" + cannot},
      {TextEncoding::Named("UTF-8"), "a\xE2\x82\xAC", false,
       "the character \"\xE2\x82\xAC\" (U+20AC)" + cannot},
      {TextEncoding::Named("UTF-8"), "\xF0\x9F\x98\x80", false,
       "the character \"\xF0\x9F\x98\x80\" (U+1F600)" + cannot},
      {TextEncoding::Named("UTF-8"), "G\xE9o", false, "is not valid UTF-8 text"},
      {TextEncoding::Named("UTF-8"), "\xC3", false, "is not valid UTF-8 text"},
      {TextEncoding::Named("UTF-8"), "\xC0\xA9", false, "is not valid UTF-8 text"},  // overlong
      {TextEncoding::Named("UTF-8"), "\xED\xA0\x80", false,
       "is not valid UTF-8 text"},  // surrogate
      {TextEncoding::Named("ANSI_X3.4-1968"), "Geo", true, "Geo"},
      {TextEncoding::Named("ANSI_X3.4-1968"), "G\xC3\xA9o", false,
       "is not text in the terminal's encoding (ANSI_X3.4-1968); set LANG to the terminal's "
       "locale, or give --encoding utf-8"},
      {TextEncoding::Named("ISO-8859-1"), "G\xE9o\x80", true, "G\xE9o\x80"},
      {TextEncoding::Named("ISO-8859-15"), "G\xE9o", true, "G\xE9o"},
      {TextEncoding::Named("ISO-8859-15"), "1\xA4", false,
       "the character \"\xA4\" (U+20AC)" + cannot},
      {TextEncoding::Named("KOI8-R"), "x\xC1", false, "the character \"\xC1\" (U+0430)" + cannot},
      {TextEncoding::Stored(), "G\xE9o\xFF", true, "G\xE9o\xFF"},
  };
  for (const Case& c : cases) {
    std::string stored, problem;
    const bool ok = c.encoding.Store(c.typed, &stored, &problem);
    EXPECT_EQ(ok, c.ok) << c.encoding.name() << " " << c.typed;
    EXPECT_EQ(ok ? stored : problem, c.result) << c.encoding.name() << " " << c.typed;
  }
}

// Every byte a terminal may show comes back as itself when typed again.
TEST(TextEncodingTest, EveryShowableByteRoundTripsThroughUtf8AndLatin9) {
  for (const char* name : {"UTF-8", "ISO-8859-15"}) {
    const TextEncoding encoding = TextEncoding::Named(name);
    for (int b = 0; b < 256; ++b) {
      const std::string one(1, static_cast<char>(b));
      const std::string shown = encoding.Show(one);
      if (shown == "?" && b != '?') continue;  // a control, or not in Latin-9
      std::string stored, problem;
      ASSERT_TRUE(encoding.Store(shown, &stored, &problem)) << name << " byte " << b;
      EXPECT_EQ(stored, one) << name << " byte " << b;
    }
  }
}

}  // namespace
}  // namespace quillon

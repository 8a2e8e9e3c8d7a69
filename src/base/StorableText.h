// The single-byte spelling of a text the user gives (a typed name, a name in a
// school's roster file): the files hold one byte per character, byte b
// standing for the character U+00bb, so a letter beyond them is written as
// its nearest spelling ("ş" as "s", "œ" as "oe", a curly apostrophe as a
// straight one), or where there is none ("王") named and kept out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Whether `c` can stand in a stored name: a single-byte character that is not
// a control character (the lessons read the roster byte by byte).
bool IsStorableCharacter(char32_t c);

// The nearest spelling of `c` in storable characters: `c` itself when it is
// one; the letter without its marks ("ş" -> "s", "ễ" -> "e"), or the usual
// spelling ("ł" -> "l", "œ" -> "oe", "…" -> "..."); "" when there is none
// (other scripts, control characters).
std::string SpellingOf(char32_t c);

struct StorableSpelling {
  struct Change {
    char32_t from = 0;
    std::string to;
  };
  std::string bytes;            // the text as stored; '?' for a character without a spelling
  std::vector<Change> changes;  // each character written otherwise, once, in order of appearance
  std::u32string unstorable;    // each character without a spelling, once, in order
  bool storable() const { return unstorable.empty(); }
};

// `text` in storable characters, with what had to be changed.
StorableSpelling NearestStorable(std::u32string_view text);

// What the spelling changed, in words: "ş written as s, ğ written as g";
// "王, 芳 cannot be stored" (a control character named as "a line break",
// "a tab" or "a control character"); the two joined by "; ". "" when nothing
// changed.
std::u32string SpellingReason(const StorableSpelling& spelling);

// The single-byte text `bytes` as code points (byte b is U+00bb).
std::u32string FromBytes(std::string_view bytes);

}  // namespace quillon

// The files' text and a terminal's. The files hold single-byte text in
// Latin-1: byte b is the character U+00bb, as the windows read it (all 256
// byte values are characters). A terminal shows the characters of its
// locale's encoding. A TextEncoding converts between the two, both ways.
#pragma once

#include <string>
#include <string_view>

namespace quillon {

class TextEncoding {
 public:
  // The encoding the C library calls `codeset`, as nl_langinfo(CODESET)
  // names a locale's: "UTF-8", "ANSI_X3.4-1968" (the C locale's ASCII),
  // "ISO-8859-1", or any other that iconv knows ("ISO-8859-15", "KOI8-R").
  // A name iconv does not know is taken as ASCII.
  static TextEncoding Named(std::string_view codeset);
  // The encoding of the locale that the environment chooses (LC_ALL,
  // LC_CTYPE, LANG), read without changing the program's own locale; ASCII
  // when the environment names no installed locale.
  static TextEncoding OfEnvironment();
  // The stored bytes themselves, both ways, unchanged.
  static TextEncoding Stored();

  // The codeset, or "stored bytes".
  const std::string& name() const { return name_; }
  bool utf8() const { return kind_ == Kind::kUtf8; }
  bool stored() const { return kind_ == Kind::kStored; }

  // The file text `stored` as text of this encoding. A character the
  // encoding has no form for becomes "?", and so does every control
  // character other than tab, line feed, carriage return and form feed, so
  // that a byte in a file can never move the cursor or change the terminal.
  // Stored(): the bytes unchanged.
  std::string Show(std::string_view stored) const;

  // The file bytes of `text`, a text of this encoding. False, with
  // `*problem` saying what is wrong, when `text` holds a character with no
  // single-byte form (the message names it) or bytes that are not text of
  // this encoding.
  [[nodiscard]] bool Store(std::string_view text, std::string* stored, std::string* problem) const;

 private:
  enum class Kind { kStored, kUtf8, kLatin1, kAscii, kIconv };
  TextEncoding(Kind kind, std::string name) : kind_(kind), name_(std::move(name)) {}

  Kind kind_;
  std::string name_;
};

// The Latin-1 bytes `stored` in UTF-8, every byte one character (the form
// JSON documents and UTF-8 terminals take).
std::string Latin1ToUtf8(std::string_view stored);
// Any text in UTF-8.
std::string Utf8Of(std::u32string_view text);

}  // namespace quillon

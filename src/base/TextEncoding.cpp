#include "base/TextEncoding.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstdio>

namespace quillon {
namespace {

constexpr char kAsciiName[] = "ANSI_X3.4-1968";

// Tab, line feed, form feed and carriage return lay out the lines; every
// other C0 control, DEL and the C1 controls only steer a terminal.
bool IsControl(unsigned char b) {
  if (b == '\t' || b == '\n' || b == '\f' || b == '\r') return false;
  return b < 0x20 || (b >= 0x7F && b <= 0x9F);
}

// "UTF-8", "utf8" and "UTF_8" alike: capitals, without '-' and '_'.
std::string Canonical(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '-' || c == '_') continue;
    out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return out;
}

std::string CodePointName(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

// The message for a character `bytes` (its code point `c`) that no
// single-byte file text can hold.
std::string CannotBeStored(std::string_view bytes, char32_t c) {
  return "the character \"" + std::string(bytes) + "\" (" + CodePointName(c) +
         ") cannot be stored: the program's files hold only Latin-1 characters";
}

// One UTF-8 sequence at text[*i]: its code point, *i moved past it. False for
// a broken, overlong or surrogate sequence.
bool NextUtf8(std::string_view text, std::size_t* i, char32_t* out) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char first = byte(*i);
  int extra = 0;
  char32_t c = 0, minimum = 0;
  if (first < 0x80) {
    extra = 0, c = first;
  } else if ((first & 0xE0) == 0xC0) {
    extra = 1, c = first & 0x1F, minimum = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    extra = 2, c = first & 0x0F, minimum = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    extra = 3, c = first & 0x07, minimum = 0x10000;
  } else {
    return false;
  }
  if (*i + static_cast<std::size_t>(extra) >= text.size()) return false;
  for (int k = 1; k <= extra; ++k) {
    const unsigned char next = byte(*i + static_cast<std::size_t>(k));
    if ((next & 0xC0) != 0x80) return false;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  *i += static_cast<std::size_t>(extra) + 1;
  *out = c;
  return true;
}

// An iconv conversion, closed when it goes.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // Converts from *in (advanced past what was taken) into `out` (at most
  // `room` bytes); the bytes written, or -1 when it stopped before writing
  // any. Requires ok().
  long Step(const char** in, std::size_t* in_left, char* out, std::size_t room) {
    char* src = const_cast<char*>(*in);
    char* dst = out;
    std::size_t dst_left = room;
    const std::size_t r = iconv(cd_, &src, in_left, &dst, &dst_left);
    *in = src;
    const long written = static_cast<long>(room - dst_left);
    return r == static_cast<std::size_t>(-1) && written == 0 ? -1 : written;
  }
  // The bytes that end a shift state, if the encoding has one. Requires ok().
  std::string Finish() {
    char buf[16];
    char* dst = buf;
    std::size_t left = sizeof buf;
    iconv(cd_, nullptr, nullptr, &dst, &left);
    return std::string(buf, sizeof buf - left);
  }

 private:
  iconv_t cd_;
};

}  // namespace

TextEncoding TextEncoding::Named(std::string_view codeset) {
  const std::string canonical = Canonical(codeset);
  std::string name(codeset);
  if (canonical == "UTF8") return TextEncoding(Kind::kUtf8, name);
  if (canonical == "ISO88591" || canonical == "LATIN1") return TextEncoding(Kind::kLatin1, name);
  if (canonical == "ANSIX3.41968" || canonical == "ASCII" || canonical == "USASCII" ||
      canonical == "646" || canonical.empty()) {
    return TextEncoding(Kind::kAscii, name.empty() ? kAsciiName : name);
  }
  if (Converter(name.c_str(), "ISO-8859-1").ok() && Converter("UTF-32LE", name.c_str()).ok()) {
    return TextEncoding(Kind::kIconv, name);
  }
  return TextEncoding(Kind::kAscii, name);
}

TextEncoding TextEncoding::OfEnvironment() {
  locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return Named(kAsciiName);
  const std::string codeset = nl_langinfo_l(CODESET, locale);
  freelocale(locale);
  return Named(codeset);
}

TextEncoding TextEncoding::Stored() { return TextEncoding(Kind::kStored, "stored bytes"); }

std::string TextEncoding::Show(std::string_view stored) const {
  if (kind_ == Kind::kStored) return std::string(stored);
  std::string out;
  out.reserve(stored.size() + stored.size() / 8);
  if (kind_ == Kind::kIconv) {
    Converter to(name_.c_str(), "ISO-8859-1");
    for (char c : stored) {
      const unsigned char b = static_cast<unsigned char>(c);
      if (b < 0x80 || IsControl(b) || !to.ok()) {
        out += IsControl(b) || b >= 0x80 ? '?' : c;
        continue;
      }
      const char* in = &c;
      std::size_t in_left = 1;
      char buf[16];
      const long n = to.Step(&in, &in_left, buf, sizeof buf);
      if (n <= 0 || in_left != 0) {
        out += '?';
      } else {
        out.append(buf, static_cast<std::size_t>(n));
      }
    }
    if (to.ok()) out += to.Finish();
    return out;
  }
  for (char c : stored) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (IsControl(b)) {
      out += '?';
    } else if (b < 0x80 || kind_ == Kind::kLatin1) {
      out += c;
    } else if (kind_ == Kind::kUtf8) {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    } else {
      out += '?';
    }
  }
  return out;
}

bool TextEncoding::Store(std::string_view text, std::string* stored, std::string* problem) const {
  stored->clear();
  if (kind_ == Kind::kStored || kind_ == Kind::kLatin1) {
    stored->assign(text);
    return true;
  }
  const std::string not_text = "is not text in the terminal's encoding (" + name_ +
                               "); set LANG to the terminal's "
                               "locale, or give --encoding utf-8";
  if (kind_ == Kind::kAscii) {
    for (char c : text) {
      if (static_cast<unsigned char>(c) >= 0x80) {
        *problem = not_text;
        return false;
      }
    }
    stored->assign(text);
    return true;
  }
  if (kind_ == Kind::kUtf8) {
    for (std::size_t i = 0; i < text.size();) {
      const std::size_t start = i;
      char32_t c = 0;
      if (!NextUtf8(text, &i, &c)) {
        *problem = "is not valid UTF-8 text";
        return false;
      }
      if (c > 0xFF) {
        *problem = CannotBeStored(text.substr(start, i - start), c);
        return false;
      }
      *stored += static_cast<char>(c);
    }
    return true;
  }
  // Through iconv, one character at a time (an output of one UTF-32 unit),
  // so that a character that cannot be stored is named with its own bytes.
  Converter to_utf32("UTF-32LE", name_.c_str());
  if (!to_utf32.ok()) {
    *problem = not_text;
    return false;
  }
  const char* in = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const char* start = in;
    unsigned char unit[4];
    const long n = to_utf32.Step(&in, &left, reinterpret_cast<char*>(unit), sizeof unit);
    if (n == 0 && in != start) continue;  // a shift sequence, no character
    if (n != 4) {
      *problem = not_text;
      return false;
    }
    const char32_t c = static_cast<char32_t>(unit[0]) | static_cast<char32_t>(unit[1]) << 8 |
                       static_cast<char32_t>(unit[2]) << 16 | static_cast<char32_t>(unit[3]) << 24;
    if (c > 0xFF) {
      *problem = CannotBeStored(std::string_view(start, static_cast<std::size_t>(in - start)), c);
      return false;
    }
    *stored += static_cast<char>(c);
  }
  return true;
}

std::string Latin1ToUtf8(std::string_view stored) {
  std::string out;
  out.reserve(stored.size() + stored.size() / 8);
  for (char c : stored) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

std::string Utf8Of(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace quillon

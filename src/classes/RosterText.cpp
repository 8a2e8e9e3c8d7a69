#include "classes/RosterText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace quillon {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252's characters for the bytes 0x80-0x9F (the five it leaves
// undefined keep their control-character code points).
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 sequence at bytes[*i]; advances *i. False for a broken,
// overlong or surrogate sequence (then *i moves past its first byte).
bool NextUtf8(std::string_view bytes, std::size_t* i, char32_t* out) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char first = b(*i);
  int extra = 0;
  char32_t c = 0, minimum = 0;
  if (first < 0x80) {
    *out = first;
    ++*i;
    return true;
  } else if ((first & 0xE0) == 0xC0) {
    extra = 1, c = first & 0x1F, minimum = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    extra = 2, c = first & 0x0F, minimum = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    extra = 3, c = first & 0x07, minimum = 0x10000;
  } else {
    ++*i;
    return false;
  }
  if (*i + static_cast<std::size_t>(extra) >= bytes.size()) {
    ++*i;
    return false;
  }
  for (int k = 1; k <= extra; ++k) {
    const unsigned char next = b(*i + static_cast<std::size_t>(k));
    if ((next & 0xC0) != 0x80) {
      ++*i;
      return false;
    }
    c = (c << 6) | (next & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++*i;
    return false;
  }
  *i += static_cast<std::size_t>(extra) + 1;
  *out = c;
  return true;
}

bool WellFormedUtf8(std::string_view bytes) {
  char32_t c = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    if (!NextUtf8(bytes, &i, &c)) return false;
  }
  return true;
}

void DecodeUtf8(std::string_view bytes, std::u32string* text) {
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    text->push_back(NextUtf8(bytes, &i, &c) ? c : kReplacement);
  }
}

void DecodeUtf16(std::string_view bytes, bool little_endian, std::u32string* text) {
  const auto unit = [&](std::size_t k) {
    const auto lo = static_cast<unsigned char>(bytes[little_endian ? k : k + 1]);
    const auto hi = static_cast<unsigned char>(bytes[little_endian ? k + 1 : k]);
    return static_cast<char32_t>(hi << 8 | lo);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        text->push_back(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    text->push_back(u >= 0xD800 && u <= 0xDFFF ? kReplacement : u);
  }
  if (i < bytes.size()) text->push_back(kReplacement);  // an odd byte at the end
}

bool IsLineEnd(char32_t c) { return c == U'\r' || c == U'\n'; }
bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == 0xA0; }

}  // namespace

Status ReadRosterFile(const std::string& path, std::string* bytes) {
  bytes->clear();
  const auto failure = [&](const std::string& what) { return Status::Error(path, what); };
  // Without blocking: a FIFO would wait for a writer for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return failure("there is no such file");
    if (errno == ENXIO || errno == EISDIR) return failure("is not an ordinary file");
    return failure(std::string("cannot be opened: ") + std::strerror(errno));
  }
  struct stat st;
  Status s;
  if (::fstat(fd, &st) != 0) {
    s = failure(std::string("cannot be read: ") + std::strerror(errno));
  } else if (!S_ISREG(st.st_mode)) {
    s = failure("is not an ordinary file");
  } else if (static_cast<std::uint64_t>(st.st_size) > kMaxRosterFileBytes) {
    s = failure("is larger than 10 MB; a roster file holds at most 10,000 rows");
  } else {
    // Read up to one byte past the limit, in case the file grew meanwhile.
    bytes->resize(static_cast<std::size_t>(kMaxRosterFileBytes) + 1);
    std::size_t done = 0;
    while (done < bytes->size()) {
      const ssize_t n = ::read(fd, bytes->data() + done, bytes->size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        s = failure(std::string("cannot be read: ") + std::strerror(errno));
        break;
      }
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    bytes->resize(s.ok() ? done : 0);
    if (s.ok() && done > kMaxRosterFileBytes) {
      bytes->clear();
      s = failure("is larger than 10 MB; a roster file holds at most 10,000 rows");
    }
  }
  ::close(fd);
  return s;
}

bool DecodeRosterText(std::string_view bytes, std::u32string* text, RosterEncoding* encoding) {
  text->clear();
  const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  if (starts("\xEF\xBB\xBF")) {
    *encoding = RosterEncoding::kUtf8WithMark;
    DecodeUtf8(bytes.substr(3), text);
  } else if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    const bool little = starts("\xFF\xFE");
    *encoding = little ? RosterEncoding::kUtf16LE : RosterEncoding::kUtf16BE;
    DecodeUtf16(bytes.substr(2), little, text);
  } else if (WellFormedUtf8(bytes)) {
    *encoding = RosterEncoding::kUtf8;
    DecodeUtf8(bytes, text);
  } else {
    *encoding = RosterEncoding::kWindows1252;
    text->reserve(bytes.size());
    for (char ch : bytes) {
      const auto b = static_cast<unsigned char>(ch);
      text->push_back(b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : char32_t{b});
    }
  }
  return text->find(U'\0') == std::u32string::npos;
}

char32_t DetectSeparator(std::u32string_view text) {
  constexpr std::array<char32_t, 3> kCandidates = {U'\t', U';', U','};  // ties go to the first
  std::array<int, 3> lines_with{}, total{}, on_line{};
  int lines = 0;
  bool quoted = false, any = false;
  const auto end_line = [&] {
    if (any) ++lines;
    for (std::size_t k = 0; k < 3; ++k) {
      if (on_line[k] > 0) ++lines_with[k];
      total[k] += on_line[k];
      on_line[k] = 0;
    }
    any = false;
  };
  for (std::size_t i = 0; i < text.size() && lines < 5; ++i) {
    const char32_t c = text[i];
    if (c == U'"') quoted = !quoted;  // a doubled quote toggles twice
    if (quoted) continue;
    if (IsLineEnd(c)) {
      end_line();
      continue;
    }
    any = any || !IsBlank(c);
    for (std::size_t k = 0; k < 3; ++k) on_line[k] += c == kCandidates[k] ? 1 : 0;
  }
  end_line();
  int best = -1;
  for (int k = 0; k < 3; ++k) {
    const auto at = static_cast<std::size_t>(k);
    if (total[at] == 0) continue;
    const auto b = static_cast<std::size_t>(best);
    if (best < 0 || lines_with[at] > lines_with[b] ||
        (lines_with[at] == lines_with[b] && total[at] > total[b])) {
      best = k;
    }
  }
  if (best < 0) return U',';
  return kCandidates[static_cast<std::size_t>(best)];
}

bool SplitRosterRows(std::u32string_view text, char32_t separator, std::size_t max_rows,
                     std::vector<RosterRow>* rows) {
  rows->clear();
  int line = 1;
  RosterRow row;
  row.line = 1;
  std::u32string field;
  bool quoted = false;       // inside quotes
  bool field_begun = false;  // a character of the field has been seen
  const auto end_field = [&] {
    row.fields.push_back(std::move(field));
    field.clear();
    field_begun = false;
  };
  // Ends the row; false when that is one row too many.
  const auto end_row = [&] {
    end_field();
    bool blank = true;
    for (const std::u32string& f : row.fields) {
      for (char32_t c : f) blank = blank && IsBlank(c);
    }
    if (!blank) {
      if (rows->size() >= max_rows) return false;
      rows->push_back(std::move(row));
    }
    row = RosterRow();
    row.line = line;
    return true;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const bool crlf = c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n';
    if (quoted) {
      if (c == U'"' && i + 1 < text.size() && text[i + 1] == U'"') {
        field.push_back(U'"');
        ++i;
      } else if (c == U'"') {
        quoted = false;
      } else {
        if (IsLineEnd(c)) ++line;
        field.push_back(c);
        if (crlf) field.push_back(text[++i]);
      }
      continue;
    }
    if (c == U'"' && !field_begun) {
      quoted = true;
      field_begun = true;
    } else if (c == separator) {
      end_field();
    } else if (IsLineEnd(c)) {
      if (crlf) ++i;
      ++line;
      if (!end_row()) return false;
    } else {
      field.push_back(c);
      field_begun = true;
    }
  }
  if (!field.empty() || field_begun || !row.fields.empty()) return end_row();
  return true;
}

Status ParseRosterText(std::string_view bytes, const std::string& name, RosterTable* table) {
  std::u32string text;
  if (!DecodeRosterText(bytes, &text, &table->encoding)) {
    return Status::Error(name,
                         "is not a text file; save the spreadsheet as CSV or as text and "
                         "import that file");
  }
  table->separator = DetectSeparator(text);
  if (!SplitRosterRows(text, table->separator, kMaxRosterRows, &table->rows)) {
    table->rows.clear();
    return Status::Error(name, "holds more than 10,000 rows; a class holds at most 99 students");
  }
  return Status::OK();
}

}  // namespace quillon

// The text of a roster file saved from a school's spreadsheet: read with its
// size limit, decoded from its encoding, and cut into rows and fields by its
// separator, with quoted fields as spreadsheets write them (RFC 4180).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"

namespace quillon {

// A roster file larger than this, or with more rows, is refused: a class
// holds at most 99 students.
inline constexpr std::uint64_t kMaxRosterFileBytes = 10ull * 1024 * 1024;  // 10 MB
inline constexpr std::size_t kMaxRosterRows = 10000;

enum class RosterEncoding { kUtf8, kUtf8WithMark, kUtf16LE, kUtf16BE, kWindows1252 };

// One row of the file that holds anything: the line it begins on (from 1)
// and its fields as Unicode code points, without the quotes around them.
struct RosterRow {
  int line = 0;
  std::vector<std::u32string> fields;
};

struct RosterTable {
  RosterEncoding encoding = RosterEncoding::kUtf8;
  char32_t separator = U',';  // U',', U';' or U'\t'
  std::vector<RosterRow> rows;
};

// The bytes of the file at `path` (any folder). Fails, naming the path, when
// it is missing, not an ordinary file, unreadable, or over the size limit.
Status ReadRosterFile(const std::string& path, std::string* bytes);

// The text of `bytes`: UTF-16 after its byte-order mark, UTF-8 after its
// mark or when all of it is well-formed UTF-8, else Windows-1252. A broken
// UTF-8 or UTF-16 sequence after a mark becomes U+FFFD. False when the bytes
// are not text (they hold a NUL character).
bool DecodeRosterText(std::string_view bytes, std::u32string* text, RosterEncoding* encoding);

// The separator the first lines show: of comma, semicolon and tab, the one
// found (outside quotes) on most of the first five lines, then the one found
// most often; a tie goes to tab, then semicolon. Comma when none is found.
char32_t DetectSeparator(std::u32string_view text);

// The rows of `text` in file order. Lines end with CR LF, LF or CR; a quoted
// field holds separators, line breaks and doubled quotes; rows whose fields
// are all blank are left out. False (with the rows read so far) when there
// are more than `max_rows` rows.
bool SplitRosterRows(std::u32string_view text, char32_t separator, std::size_t max_rows,
                     std::vector<RosterRow>* rows);

// ReadRosterFile's bytes decoded and cut into rows; fails, naming `name`, for
// bytes that are not text or too many rows.
Status ParseRosterText(std::string_view bytes, const std::string& name, RosterTable* table);

}  // namespace quillon

// The shared text helpers: fixed-width fields, the one numeric reading rule
// of every file reader, trimming, and the parallel-list sort of the records
// display and the printed records report. All texts are single-byte; every
// comparison goes by character code.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// `text` followed by blanks, cut to exactly `width` characters (0 gives "").
std::string FixWidth(std::string_view text, int width);

// FixWidth appended to `out`, without a temporary text.
void AppendFixed(std::string& out, std::string_view text, std::size_t width);

// The field of `record` at 1-based position `first`, `width` characters long;
// shorter (or empty) where the record ends early, so that a short record
// reads as if padded with nothing.
inline std::string_view Field(std::string_view record, std::size_t first, std::size_t width) {
  if (first == 0 || first > record.size()) return {};
  return record.substr(first - 1, width);
}

// The first 21 characters (the StudentName field) of a roster record, with
// its trailing blanks; a shorter text is padded to 21.
std::string NameField(std::string_view record);

// The numeric reading rule of every file field: leading blanks are skipped
// and the longest leading number (optional sign, digits, one decimal point)
// is taken; 0 when there is none. "07", " 7" and "7 " all read 7; "ab" reads 0.
double Val(std::string_view text);

// Val rounded to a whole number, halves to the even neighbour (2.5 gives 2,
// 3.5 gives 4), and held to the 16-bit range the record numbers use.
int ValIntOfAnyText(std::string_view text);
inline int ValInt(std::string_view text) {
  // A two-character number field ("3 ", "12"), read for every record of a
  // file, at once.
  if (text.size() == 2 && text[0] >= '0' && text[0] <= '9') {
    if (text[1] == ' ') return text[0] - '0';
    if (text[1] >= '0' && text[1] <= '9') return (text[0] - '0') * 10 + (text[1] - '0');
  }
  return ValIntOfAnyText(text);
}

// True if `text`, trimmed of blanks, is a plain number (digits with an
// optional sign and decimal point) — the test the passing-grade field uses.
bool IsNumeric(std::string_view text);

// `text` without blanks at either end / at the end only.
std::string Trim(std::string_view text);
std::string TrimRight(std::string_view text);

// Capitals of the single-byte text (ASCII letters only).
std::string ToUpper(std::string_view text);

// `value` in plain decimal with blanks on the left up to `width`; a longer
// number is not cut.
std::string RightJustify(long long value, int width);

// Appends `value` right-justified in `width` (RightJustify without a
// temporary text).
void AppendRightJustified(std::string& out, long long value, int width);

// `value` as a plain number in general format: 75 as "75", 7.5 as "7.5".
std::string GeneralNumber(double value);

// `value` with leading zeros to at least `digits` digits (Format "00", "0000").
std::string ZeroPad(long long value, int digits);

// The value of a field of digits only (no blank, no sign), as the program's
// own files write counts and offsets; -1 when it is empty, longer than 18
// digits or holds anything else.
long long Digits(std::string_view text);

// Sorts entries [0, count) of `keys` by character code, moving `values`
// along: direction 0 increasing, 1 decreasing, any other leaves both lists
// unchanged. The result is exactly that of the exchange sort: for i < j,
// entries i and j are exchanged when keys(i) > keys(j) (direction 0) or
// keys(i) < keys(j) (direction 1). Requires count <= both sizes.
void SortParallelLists(std::vector<std::string>& keys, std::vector<std::string>& values,
                       int direction, std::size_t count);

// The order in which that exchange sort leaves entries 0..n-1 whose keys
// `compare(a, b)` compares by character code (<0, 0, >0, as
// std::string::compare): result[k] is the entry that ends at place k.
// `same_value(a, b)` tells whether entries a and b carry equal values. When no two entries with
// equal keys carry different values the order is found in O(n log n); otherwise the exchange sort
// itself runs, which takes n*n/2 comparisons (callers hold at most 20,000 entries; above
// kLiteralSortLimit entries the order of such ties is left to a stable sort instead, and only it
// may differ).
std::vector<std::size_t> ExchangeSortOrder(
    std::size_t n, const std::function<int(std::size_t, std::size_t)>& compare, int direction,
    const std::function<bool(std::size_t, std::size_t)>& same_value);
inline constexpr std::size_t kLiteralSortLimit = 20000;

}  // namespace quillon

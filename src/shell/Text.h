// The shared text helpers: fixed-width fields, the one numeric reading rule
// of every file reader, trimming, and the parallel-list sort of the records
// display and the printed records report. All texts are single-byte; every
// comparison goes by character code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// `text` followed by blanks, cut to exactly `width` characters (0 gives "").
std::string FixWidth(std::string_view text, int width);

// The first 21 characters (the StudentName field) of a roster record, with
// its trailing blanks; a shorter text is padded to 21.
std::string NameField(std::string_view record);

// Exchanges the contents of the two texts.
void SwapStrings(std::string& a, std::string& b);

// The numeric reading rule of every file field: leading blanks are skipped
// and the longest leading number (optional sign, digits, one decimal point)
// is taken; 0 when there is none. "07", " 7" and "7 " all read 7; "ab" reads 0.
double Val(std::string_view text);

// Val rounded to a whole number, halves to the even neighbour (2.5 gives 2,
// 3.5 gives 4), and held to the 16-bit range the record numbers use.
int ValInt(std::string_view text);

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

// `value` with leading zeros to at least `digits` digits (Format "00", "0000").
std::string ZeroPad(long long value, int digits);

// Sorts entries [0, count) of `keys` by character code, moving `values`
// along: direction 0 increasing, 1 decreasing, any other leaves both lists
// unchanged. The result is always exactly that of the literal exchange sort
// (SortParallelListsLiteral): when every key is unique, or equal keys carry
// equal values, an O(n log n) sort gives that result; otherwise the literal
// procedure runs. Requires count <= keys.size() and count <= values.size().
void SortParallelLists(std::vector<std::string>& keys, std::vector<std::string>& values,
                       int direction, std::size_t count);

// The literal quadratic exchange sort: for i < j, exchange entries i and j
// when keys(i) > keys(j) (direction 0) or keys(i) < keys(j) (direction 1).
void SortParallelListsLiteral(std::vector<std::string>& keys, std::vector<std::string>& values,
                              int direction, std::size_t count);

}  // namespace quillon

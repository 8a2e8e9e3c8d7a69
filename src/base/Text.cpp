#include "base/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace quillon {

std::string FixWidth(std::string_view text, int width) {
  if (width <= 0) return std::string();
  std::string out(text.substr(0, static_cast<std::size_t>(width)));
  out.resize(static_cast<std::size_t>(width), ' ');
  return out;
}

void AppendFixed(std::string& out, std::string_view text, std::size_t width) {
  out.append(text.substr(0, width));
  if (text.size() < width) out.append(width - text.size(), ' ');
}

std::string NameField(std::string_view record) { return FixWidth(record, 21); }

double Val(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const std::size_t start = i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Whole numbers, by far the most common, are read without strtod.
  double whole = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    whole = whole * 10 + (text[i] - '0');
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    std::size_t end = i + 1;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (!digits && end == i + 1) return 0.0;
    std::string number(text.substr(start, end - start));
    return std::strtod(number.c_str(), nullptr);
  }
  if (!digits) return 0.0;
  return negative ? -whole : whole;
}

int ValIntOfAnyText(std::string_view text) {
  // Whole numbers without a decimal point need no rounding.
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long whole = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (whole < 1000000) whole = whole * 10 + (text[i] - '0');
  }
  double v = i < text.size() && text[i] == '.'
                 ? std::nearbyint(Val(text))  // the default rounding mode: halves to even
                 : static_cast<double>(negative ? -whole : whole);
  if (v > 32767.0) return 32767;
  if (v < -32768.0) return -32768;
  return static_cast<int>(v);
}

bool IsNumeric(std::string_view text) {
  std::string t = Trim(text);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  bool digits = false;
  bool point = false;
  for (; i < t.size(); ++i) {
    if (t[i] >= '0' && t[i] <= '9') {
      digits = true;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

std::string Trim(std::string_view text) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return std::string();
  std::size_t e = text.find_last_not_of(' ');
  return std::string(text.substr(b, e - b + 1));
}

std::string TrimRight(std::string_view text) {
  std::size_t e = text.find_last_not_of(' ');
  if (e == std::string_view::npos) return std::string();
  return std::string(text.substr(0, e + 1));
}

std::string ToUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

namespace {

// Writes the decimal digits of `value` (with a leading "-" when negative)
// into the buffer ending at `end`, padded with zeros to at least `digits`;
// returns where they start. The buffer must hold 24 characters.
char* DecimalDigits(long long value, int digits, char* end) {
  char* p = end;
  unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (end - p < std::min(digits, 22)) *--p = '0';
  if (value < 0) *--p = '-';
  return p;
}

}  // namespace

void AppendRightJustified(std::string& out, long long value, int width) {
  char buffer[24];
  char* end = buffer + sizeof buffer;
  const char* p = DecimalDigits(value, 1, end);
  const int n = static_cast<int>(end - p);
  if (n < width) out.append(static_cast<std::size_t>(width - n), ' ');
  out.append(p, static_cast<std::size_t>(n));
}

std::string RightJustify(long long value, int width) {
  std::string out;
  AppendRightJustified(out, value, width);
  return out;
}

std::string GeneralNumber(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    return std::to_string(static_cast<long long>(value));
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

std::string ZeroPad(long long value, int digits) {
  char buffer[24];
  char* end = buffer + sizeof buffer;
  return std::string(DecimalDigits(value, digits, end), end);
}

std::vector<std::size_t> ExchangeSortOrder(
    std::size_t n, const std::function<int(std::size_t, std::size_t)>& compare, int direction,
    const std::function<bool(std::size_t, std::size_t)>& same_value) {
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  if ((direction != 0 && direction != 1) || n < 2) return order;
  // Equal keys keep their places' order (a stable sort, without its buffer).
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int c = compare(a, b);
    return c < 0 || (c == 0 && a < b);
  });
  // The exchange sort leaves the keys in order; its only freedom is the order
  // of entries with equal keys. When those carry equal values any order is
  // the same result; otherwise only the procedure itself knows it.
  bool literal = false;
  for (std::size_t k = 1; k < n && !literal; ++k) {
    literal = compare(order[k - 1], order[k]) == 0 && !same_value(order[k - 1], order[k]);
  }
  if (literal && n <= kLiteralSortLimit) {
    std::iota(order.begin(), order.end(), std::size_t{0});
    for (std::size_t i = 0; i + 1 < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) {
        const int c = compare(order[i], order[j]);
        if (direction == 0 ? c > 0 : c < 0) std::swap(order[i], order[j]);
      }
    }
    return order;
  }
  if (direction == 1) std::reverse(order.begin(), order.end());
  return order;
}

void SortParallelLists(std::vector<std::string>& keys, std::vector<std::string>& values,
                       int direction, std::size_t count) {
  if ((direction != 0 && direction != 1) || count < 2) return;
  const std::vector<std::size_t> order = ExchangeSortOrder(
      count, [&](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]); }, direction,
      [&](std::size_t a, std::size_t b) { return values[a] == values[b]; });
  std::vector<std::string> sorted_keys(count), sorted_values(count);
  for (std::size_t k = 0; k < count; ++k) {
    sorted_keys[k] = std::move(keys[order[k]]);
    sorted_values[k] = std::move(values[order[k]]);
  }
  std::move(sorted_keys.begin(), sorted_keys.end(), keys.begin());
  std::move(sorted_values.begin(), sorted_values.end(), values.begin());
}

long long Digits(std::string_view text) {
  if (text.empty() || text.size() > 18) return -1;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace quillon

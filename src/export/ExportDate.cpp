#include "export/ExportDate.h"

#include "base/Text.h"
#include "data/ActivityRecord.h"

namespace quillon {
namespace {

bool IsDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

bool ValidDate(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  int days = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= days;
}

int CenturyYear(int yy) { return yy < 30 ? 2000 + yy : 1900 + yy; }

// The value of two digits, or -1 when they are not two digits.
int TwoDigits(std::string_view s) {
  if (s.size() != 2 || s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9') return -1;
  return (s[0] - '0') * 10 + (s[1] - '0');
}

}  // namespace

std::uint32_t ExportDateValue(std::string_view mm, std::string_view dd, std::string_view yy) {
  const int m = TwoDigits(mm), d = TwoDigits(dd), y = TwoDigits(yy);
  if (m < 0 || d < 0 || y < 0) return 0;
  const int year = CenturyYear(y);
  if (!ValidDate(year, m, d)) return 0;
  return static_cast<std::uint32_t>(year * 10000 + m * 100 + d);
}

std::string RecordYymmdd(std::string_view record) {
  const std::string_view mmddyy = ActivityDate(record);
  return std::string(Field(mmddyy, 5, 2)) + std::string(Field(mmddyy, 1, 4));
}

std::optional<std::string> ParseCutoffDate(std::string_view text) {
  std::string t = Trim(text);
  std::size_t a = t.find('/');
  std::size_t b = a == std::string::npos ? a : t.find('/', a + 1);
  if (b == std::string::npos) return std::nullopt;
  std::string m = t.substr(0, a), d = t.substr(a + 1, b - a - 1), y = t.substr(b + 1);
  if (!IsDigits(m) || !IsDigits(d) || !IsDigits(y) || m.size() > 2 || d.size() > 2 ||
      (y.size() != 2 && y.size() != 4)) {
    return std::nullopt;
  }
  int month = std::stoi(m), day = std::stoi(d), year = std::stoi(y);
  if (y.size() == 2) year = CenturyYear(year);
  if (!ValidDate(year, month, day)) return std::nullopt;
  return ZeroPad(year % 100, 2) + ZeroPad(month, 2) + ZeroPad(day, 2);
}

}  // namespace quillon

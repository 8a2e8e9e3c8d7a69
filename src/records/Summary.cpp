// The class summary's figures, computed from the record lines and their
// grading, never from rules of its own.
#include "records/Summary.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "store/Read.h"
#include "records/RecordLine.h"

namespace quillon {

const std::array<const char*, kSummaryColumns> kSummaryHeadings = {
    "Student",  "Tests",      "Passed",  "Failed",    "Average %",
    "Practice", "Practice %", "Minutes", "Last work", "Needs help"};

int CenturyOfTwoDigits(int yy) { return yy < 80 ? 2000 + yy : 1900 + yy; }

int DayKey(int year, int month, int day) { return year * 10000 + month * 100 + day; }

int RecordDayKey(std::string_view record) {
  const std::string_view date = ActivityDate(record);
  const int month = ValInt(Field(date, 1, 2)), day = ValInt(Field(date, 3, 2));
  const int yy = ValInt(Field(date, 5, 2));
  return DayKey(yy >= 0 && yy <= 99 ? CenturyOfTwoDigits(yy) : 2000, month, day);
}

namespace {

bool AllDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

bool RealDay(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// The whole-number mean of `sum` over `count` (count > 0), halves up.
long long RoundedMean(long long sum, long long count) {
  return static_cast<long long>(std::floor(static_cast<double>(sum) / count + 0.5));
}

}  // namespace

std::optional<int> ParseSummaryDate(std::string_view text) {
  const std::string t = Trim(text);
  const std::size_t a = t.find('/');
  const std::size_t b = a == std::string::npos ? a : t.find('/', a + 1);
  if (b == std::string::npos) return std::nullopt;
  const std::string m = t.substr(0, a), d = t.substr(a + 1, b - a - 1), y = t.substr(b + 1);
  if (!AllDigits(m) || !AllDigits(d) || !AllDigits(y) || m.size() > 2 || d.size() > 2 ||
      (y.size() != 2 && y.size() != 4)) {
    return std::nullopt;
  }
  const int month = std::stoi(m), day = std::stoi(d);
  const int year = y.size() == 2 ? CenturyOfTwoDigits(std::stoi(y)) : std::stoi(y);
  if (!RealDay(year, month, day)) return std::nullopt;
  return DayKey(year, month, day);
}

std::string DayKeyText(int key) {
  return ZeroPad(key / 100 % 100, 2) + "/" + ZeroPad(key % 100, 2) + "/" +
         ZeroPad(key / 10000 % 100, 2);
}

std::string DayKeyIso(int key) {
  return ZeroPad(key / 10000, 4) + "-" + ZeroPad(key / 100 % 100, 2) + "-" + ZeroPad(key % 100, 2);
}

long long DayNumber(int key) {
  // Days from the civil date (proleptic Gregorian calendar).
  long long y = key / 10000;
  const long long m = std::clamp(key / 100 % 100, 1, 12);
  const long long d = std::clamp(key % 100, 1, 31);
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::vector<std::string_view> LatestTestsInRange(const WorkingLists& lists,
                                                 const SummaryRequest& request, int studentnum) {
  // By group: the place of its last test in the file.
  std::map<std::string, std::size_t> last;
  const RecordList tests = lists.lstRecords2();
  for (std::size_t i = 0; i < tests.size(); ++i) {
    const std::string_view t = tests[i];
    if (ActivityClassNumber(t) != request.classnum) continue;
    if (studentnum != kAllStudents && ActivityStudentNumber(t) != studentnum) continue;
    if (!request.range.Contains(RecordDayKey(t))) continue;
    std::string group(t.substr(0, 6));
    group.append(t.substr(12, 4));
    last[group] = i;
  }
  std::vector<std::size_t> places;
  places.reserve(last.size());
  for (const auto& [group, at] : last) places.push_back(at);
  std::sort(places.begin(), places.end());
  std::vector<std::string_view> latest;
  latest.reserve(places.size());
  for (std::size_t at : places) latest.push_back(tests[at]);
  return latest;
}

std::vector<SummaryRow> SummarizeClass(const WorkingLists& lists,
                                       const std::vector<std::string>& roster_items,
                                       const SummaryRequest& request) {
  // One row per student number, under its first roster record.
  std::vector<std::string> roster;
  std::set<int> seen;
  for (const std::string& item : roster_items) {
    if (seen.insert(StudentNumberOf(item)).second) roster.push_back(item);
  }
  std::sort(roster.begin(), roster.end());
  std::vector<SummaryRow> rows;
  std::array<int, kMaxNumber + 1> row_of;
  row_of.fill(-1);
  for (const std::string& item : roster) {
    SummaryRow row;
    row.student = StudentNumberOf(item);
    row.name = TrimRight(Field(item, 1, 21));
    if (row.student >= 0 && row.student <= kMaxNumber) {
      row_of[static_cast<std::size_t>(row.student)] = static_cast<int>(rows.size());
    }
    rows.push_back(std::move(row));
  }
  // The row of a record of the class within the range, or null.
  auto row_for = [&](std::string_view r) -> SummaryRow* {
    if (ActivityClassNumber(r) != request.classnum) return nullptr;
    const int stu = ActivityStudentNumber(r);
    if (stu < 0 || stu > kMaxNumber || row_of[static_cast<std::size_t>(stu)] < 0) return nullptr;
    if (!request.range.Contains(RecordDayKey(r))) return nullptr;
    return &rows[static_cast<std::size_t>(row_of[static_cast<std::size_t>(stu)])];
  };
  std::vector<long long> percent_sum(rows.size()), correct(rows.size());
  std::string line;
  const RecordList all = lists.lstRecords1();
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string_view r = all[i];
    SummaryRow* row = row_for(r);
    if (row == nullptr) continue;
    const auto at = static_cast<std::size_t>(row - rows.data());
    ComposeRecordLineInto(r, "", &line);
    const Grading g = GradeRecordLine(line, request.passing_grade);
    if (g.is_test) {
      ++row->tests;
      ++(g.passed ? row->passed : row->failed);
      percent_sum[at] += g.percent;
    } else {
      row->practice += g.attempted;
      correct[at] += g.correct;
    }
    row->minutes += g.minutes;
    const int day = RecordDayKey(r);
    if (!row->last_work || day > *row->last_work) row->last_work = day;
  }
  for (std::string_view test : LatestTestsInRange(lists, request, kAllStudents)) {
    SummaryRow* row = row_for(test);
    if (row == nullptr) continue;
    ComposeRecordLineInto(test, "", &line);
    const Grading g = GradeRecordLine(line, request.passing_grade);
    if (g.is_test && !g.passed) {
      ++row->needs_help;
      row->help_lines.push_back(line);
    }
  }
  for (std::size_t at = 0; at < rows.size(); ++at) {
    SummaryRow& row = rows[at];
    if (row.tests > 0) row.average = RoundedMean(percent_sum[at], row.tests);
    // The record lines' own percent, over the summed problems (at most
    // 32,767 records of 32,767 each: within an int).
    if (row.practice != 0) {
      row.practice_percent =
          PercentCorrect(static_cast<int>(row.practice), static_cast<int>(correct[at]));
    }
  }
  return rows;
}

Status BuildClassSummary(Folder& folder, WorkingLists& lists, bool reuse_lists,
                         const SummaryRequest& request, std::vector<SummaryRow>* rows) {
  rows->clear();
  std::vector<std::string> roster;
  Status s = FillRosterList(folder, request.classnum, &roster);
  if (s.ok() && !reuse_lists) s = lists.Build(folder);
  if (!s.ok()) return s;
  *rows = SummarizeClass(lists, roster, request);
  return Status::OK();
}

namespace {

// A cell as a number to sort by; none for an empty cell.
std::optional<long long> SortValue(const SummaryRow& row, int column) {
  switch (column) {
    case kColumnTests:
      return row.tests;
    case kColumnPassed:
      return row.passed;
    case kColumnFailed:
      return row.failed;
    case kColumnAverage:
      return row.average;
    case kColumnPractice:
      return row.practice;
    case kColumnPracticePercent:
      return row.practice_percent;
    case kColumnMinutes:
      return row.minutes;
    case kColumnLastWork:
      return row.last_work ? std::optional<long long>(*row.last_work) : std::nullopt;
    case kColumnNeedsHelp:
      return row.needs_help;
    default:
      return std::nullopt;
  }
}

}  // namespace

void SortSummary(std::vector<SummaryRow>* rows, int column, bool decreasing) {
  std::stable_sort(rows->begin(), rows->end(), [&](const SummaryRow& a, const SummaryRow& b) {
    int c = 0;
    if (column == kColumnStudent) {
      c = a.name.compare(b.name);
    } else {
      const std::optional<long long> x = SortValue(a, column), y = SortValue(b, column);
      c = x == y ? 0 : x < y ? -1 : 1;  // an empty optional orders first
    }
    return decreasing ? c > 0 : c < 0;
  });
}

bool FailedLatestTest(const SummaryRow& row) { return row.needs_help > 0; }

bool Idle(const SummaryRow& row, int reference) {
  return !row.last_work || DayNumber(reference) - DayNumber(*row.last_work) >= kIdleDays;
}

}  // namespace quillon

// The class summary: one row of figures per student on a class's roster, over
// the records dated within a range, graded by the record lines' own rules
// (the same percent, pass mark and test kinds as the records display), and
// the dates the range and the figures are given in.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Folder.h"
#include "records/DisplayBuilder.h"

namespace quillon {

// A day as the number yyyymmdd, so that days compare as numbers. Two-digit
// years 00-79 are 2000-2079 and 80-99 are 1980-1999.
int DayKey(int year, int month, int day);
int CenturyOfTwoDigits(int yy);
// The day of a record's ActivityDate (mmddyy), each part read by the
// numeric rule (letters read 0); it need not be a real day.
int RecordDayKey(std::string_view record);
// A date typed as mm/dd/yy (m/d/yy, or a four-digit year also taken); nullopt
// when it is not a real day.
std::optional<int> ParseSummaryDate(std::string_view text);
// The day as mm/dd/yy, and as yyyy-mm-dd.
std::string DayKeyText(int key);
std::string DayKeyIso(int key);
// Days from 1970-01-01 (month and day held to 1-12 and 1-31, so a stored
// date that is no real day still gives a number); days between two keys.
long long DayNumber(int key);
inline int DayKeyOf(const Date& d) { return DayKey(d.year, d.month, d.day); }

// From and To inclusive, both optional.
struct SummaryRange {
  std::optional<int> from, to;
  bool Contains(int key) const { return (!from || key >= *from) && (!to || key <= *to); }
};

// The columns, in their order on screen, on paper, in the CLI and the CSV.
enum SummaryColumn {
  kColumnStudent,
  kColumnTests,
  kColumnPassed,
  kColumnFailed,
  kColumnAverage,
  kColumnPractice,
  kColumnPracticePercent,
  kColumnMinutes,
  kColumnLastWork,
  kColumnNeedsHelp,
  kSummaryColumns
};
extern const std::array<const char*, kSummaryColumns> kSummaryHeadings;

struct SummaryRow {
  int student = 0;   // the roster's student number
  std::string name;  // the roster name, trailing blanks removed
  int tests = 0;     // lesson and unit tests ("T", "U")
  int passed = 0;    // tests reaching the passing grade
  int failed = 0;
  std::optional<long long> average;           // mean test percent, halves up; none without tests
  long long practice = 0;                     // problems attempted over the other records
  std::optional<long long> practice_percent;  // correct over attempted, halves up
  long long minutes = 0;                      // of every record
  std::optional<int> last_work;               // latest day
  int needs_help = 0;                         // lessons and units whose most recent test failed
  std::vector<std::string> help_lines;  // the RecordLine of each of those tests, in file order
};

struct SummaryRequest {
  int classnum = 0;
  double passing_grade = 60;
  SummaryRange range;
};

// The most recent test of each lesson and unit (course, class, student,
// unit and lesson fields, as the display's "Most recent test in each
// lesson/unit" groups them: the one standing last in the file) of the
// request's class, among the tests dated within its range: the state at the
// range's end. Of student `studentnum` (kAllStudents: every student); in
// file order.
std::vector<std::string_view> LatestTestsInRange(const WorkingLists& lists,
                                                 const SummaryRequest& request, int studentnum);

// The rows of the class's roster (in the roster list's order: by the whole
// roster record, as the windows' sorted lists show it; a student number
// listed twice counts once, under its first record in the file) from the
// working lists as they stand. A student needs help in each lesson and unit
// whose most recent test within the range (LatestTestsInRange) was failed,
// also when a test after the range's end was passed.
std::vector<SummaryRow> SummarizeClass(const WorkingLists& lists,
                                       const std::vector<std::string>& roster_items,
                                       const SummaryRequest& request);

// Reads STUDENTS.DAT and (unless `reuse_lists`) rebuilds `lists` from
// RECORDS.DAT, then SummarizeClass. Writes no file.
Status BuildClassSummary(Folder& folder, WorkingLists& lists, bool reuse_lists,
                         const SummaryRequest& request, std::vector<SummaryRow>* rows);

// Sorts by `column`, increasing or decreasing; an empty cell comes before
// every number in the increasing order; equal cells keep their order.
void SortSummary(std::vector<SummaryRow>* rows, int column, bool decreasing);

// The cells that call for attention: a failed most recent test, and no work
// for 14 days or more before `reference` (the range's end, or today).
inline constexpr int kIdleDays = 14;
bool FailedLatestTest(const SummaryRow& row);
bool Idle(const SummaryRow& row, int reference);

}  // namespace quillon

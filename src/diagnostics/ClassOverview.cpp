#include "diagnostics/ClassOverview.h"

#include <algorithm>
#include <map>

#include "base/Text.h"
#include "store/Read.h"

namespace quillon {
namespace {

// A two-character group of digits, or a blank and a digit; -1 otherwise.
int DateGroup(std::string_view group, bool blank_allowed) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (group.size() != 2 || !digit(group[1])) return -1;
  if (digit(group[0])) return (group[0] - '0') * 10 + (group[1] - '0');
  return blank_allowed && group[0] == ' ' ? group[1] - '0' : -1;
}

// The distinct lesson entries of a test in text order, each with the first
// problem it reviews: a plan's lessons are found here by a binary search.
struct LessonIndex {
  std::vector<std::pair<std::string_view, int>> entries;
  explicit LessonIndex(const DiagnosticTest& test) {
    for (int p = 1; p <= 30; ++p) entries.emplace_back(test.lessons[p], p);
    // By text, and for one text the lowest problem first.
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  entries.end());
  }
  // The place of `lesson`, or entries.size() when the test has no such entry.
  std::size_t Find(std::string_view lesson) const {
    auto it = std::lower_bound(entries.begin(), entries.end(), lesson,
                               [](const auto& e, std::string_view l) { return e.first < l; });
    if (it == entries.end() || it->first != lesson) return entries.size();
    return static_cast<std::size_t>(it - entries.begin());
  }
};

}  // namespace

std::optional<int> DiagTestDay(std::string_view record) {
  const int month = DateGroup(Field(record, 7, 2), true);
  const int day = DateGroup(Field(record, 9, 2), true);
  const int year = DateGroup(Field(record, 11, 2), false);
  if (month < 0 || day < 0 || year < 0) return std::nullopt;
  // The real-day rule of the dates typed in the windows.
  return ParseSummaryDate(std::to_string(month) + "/" + std::to_string(day) + "/" +
                          ZeroPad(year, 2));
}

std::vector<TestResults> ClassTests(const std::vector<std::string>& records, int classnum) {
  std::vector<TestResults> tests;
  for (const char* code : kDiagnosticTestCodes) tests.push_back({code, 0});
  for (const std::string& r : records) {
    if (DiagClassNumber(r) != classnum) continue;
    for (TestResults& t : tests) t.results += DiagTestCode(r) == t.code;
  }
  std::erase_if(tests, [](const TestResults& t) { return t.results == 0; });
  return tests;
}

std::string MostResultsTest(const std::vector<TestResults>& tests) {
  const TestResults* best = nullptr;
  for (const TestResults& t : tests) {
    if (best == nullptr || t.results > best->results) best = &t;
  }
  return best == nullptr ? std::string() : best->code;
}

ClassOverview SumClassResults(const std::vector<std::string>& records, const Roster& roster,
                              const OverviewRequest& request) {
  ClassOverview o;
  o.request = request;
  o.test = FindDiagnosticTest(request.test_code);
  const bool ranged = request.range.from || request.range.to;
  // The records counted, in file order, and for each student the last one.
  std::vector<std::size_t> chosen;
  std::map<int, std::size_t> last_of_student;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string& r = records[i];
    if (DiagClassNumber(r) != request.classnum) continue;
    const DiagnosticTest* test = FindDiagnosticTest(DiagTestCode(r));
    if (test == nullptr) {
      ++o.not_scored;
      continue;
    }
    if (test != o.test) continue;
    if (ranged) {
      const std::optional<int> day = DiagTestDay(r);
      if (!day) {
        ++o.without_date;
        continue;
      }
      if (!request.range.Contains(*day)) continue;
    }
    chosen.push_back(i);
    last_of_student[DiagStudentNumber(r)] = i;
  }
  if (o.test == nullptr) return o;
  if (request.latest_only) {
    std::erase_if(chosen, [&](std::size_t i) {
      return last_of_student.at(DiagStudentNumber(records[i])) != i;
    });
  }
  // Students by a dense index, and which of them each lesson's plans name.
  std::map<int, std::size_t> student_index;
  for (const auto& [student, last] : last_of_student) {
    (void)last;
    student_index.emplace(student, student_index.size());
  }
  o.students = static_cast<int>(student_index.size());
  const LessonIndex lessons(*o.test);
  std::vector<std::vector<bool>> named(lessons.entries.size(),
                                       std::vector<bool>(student_index.size(), false));
  o.areas.assign(o.test->area_names.size(), AreaFigures{});
  for (std::size_t i : chosen) {
    const std::optional<DiagnosticResult> result = ScoreDiagnosticRecord(records[i]);
    if (!result) continue;  // not reached: the record's test is known
    ++o.results;
    for (int n = 1; n <= 30; ++n) o.wrong[static_cast<std::size_t>(n)] += !result->correct[n];
    for (std::size_t a = 0; a < o.areas.size(); ++a) {
      AreaFigures& area = o.areas[a];
      const std::string& rating = result->area_rating[a];
      ++(rating == "Poor" ? area.poor : rating == "Fair" ? area.fair : area.good);
      area.correct += result->area_correct[a];
    }
    const std::size_t s = student_index.at(DiagStudentNumber(records[i]));
    for (const std::string& lesson : result->lessons_to_study) {
      const std::size_t l = lessons.Find(lesson);
      if (l < named.size()) named[l][s] = true;
    }
  }
  std::vector<OverviewStudent> by_index(student_index.size());
  for (const auto& [student, index] : student_index) {
    by_index[index] = {student, TrimRight(roster.Name(request.classnum, student))};
  }
  for (std::size_t l = 0; l < named.size(); ++l) {
    ReteachFigures row;
    row.problem = lessons.entries[l].second;
    for (std::size_t s = 0; s < by_index.size(); ++s) {
      if (named[l][s]) row.students.push_back(by_index[s]);
    }
    if (row.students.empty()) continue;
    std::sort(row.students.begin(), row.students.end(),
              [](const OverviewStudent& a, const OverviewStudent& b) {
                return a.name != b.name ? a.name < b.name : a.student < b.student;
              });
    o.reteach.push_back(std::move(row));
  }
  std::sort(o.reteach.begin(), o.reteach.end(),
            [](const ReteachFigures& a, const ReteachFigures& b) {
              return a.students.size() != b.students.size() ? a.students.size() > b.students.size()
                                                            : a.problem < b.problem;
            });
  return o;
}

Status BuildClassOverview(Folder& folder, const OverviewRequest& request, ClassOverview* overview,
                          std::vector<TestResults>* tests) {
  *overview = ClassOverview{};
  overview->request = request;
  if (tests != nullptr) tests->clear();
  std::vector<std::string> records;
  Status s = ReadDiagRecords(folder, &records);
  if (!s.ok()) return s;
  Roster roster;
  s = LoadRoster(folder, &roster);
  if (!s.ok()) return s;
  *overview = SumClassResults(records, roster, request);
  if (tests != nullptr) *tests = ClassTests(records, request.classnum);
  return Status::OK();
}

int PercentOf(long long part, long long whole) {
  if (whole <= 0) return 0;
  return static_cast<int>((200 * part + whole) / (2 * whole));
}

std::string MeanText(long long sum, long long count) {
  if (count <= 0) return std::string();
  const long long tenths = (20 * sum + count) / (2 * count);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

bool MostMissed(const ClassOverview& overview, int problem) {
  if (problem < 1 || problem > 30 || overview.results == 0) return false;
  const int wrong = overview.wrong[static_cast<std::size_t>(problem)];
  return wrong > 0 && 2 * wrong >= overview.results;
}

}  // namespace quillon

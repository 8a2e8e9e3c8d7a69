// The class overview of one diagnostic test: over a class's results, how
// often each problem was missed, how each skill area was rated, and which
// review lessons the students' plans of study name most. Every result is
// scored by ScoreDiagnosticRecord, as its report scores it, so the overview
// and the reports always agree.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/ClassFiles.h"
#include "diagnostics/DiagRecord.h"
#include "platform/Folder.h"
#include "records/Summary.h"

namespace quillon {

// The codes of the known tests, in their order.
inline constexpr std::array<const char*, 2> kDiagnosticTestCodes = {"C1", "C2"};

// The day of a record's TestDate read as mmddyy (a blank before a one-digit
// month or day allowed; years 00-79 are 2000-2079); nullopt when it is not
// a real day.
std::optional<int> DiagTestDay(std::string_view record);

// How many results the class has of each known test, in code order; tests
// without results are left out.
struct TestResults {
  std::string code;
  int results = 0;
};
std::vector<TestResults> ClassTests(const std::vector<std::string>& records, int classnum);
// The test an overview opens on: the one with the most results (the first
// on a tie); "" when there is none.
std::string MostResultsTest(const std::vector<TestResults>& tests);

struct OverviewRequest {
  int classnum = 0;
  std::string test_code;    // "C1" or "C2"
  bool latest_only = true;  // each student's last result in the file only
  SummaryRange range;       // of TestDate; both ends optional
};

struct OverviewStudent {
  int student = 0;   // the record's student number
  std::string name;  // the roster name without trailing blanks; "" when not on the roster
};

struct AreaFigures {
  int poor = 0, fair = 0, good = 0;  // results rating the area so
  long long correct = 0;             // problems of the area answered correctly, over all results
};

struct ReteachFigures {
  int problem = 0;                        // the first problem the lesson reviews
  std::vector<OverviewStudent> students;  // whose plans name the lesson, by name then number
};

struct ClassOverview {
  const DiagnosticTest* test = nullptr;  // null when the request names no known test
  OverviewRequest request;
  int results = 0;   // results scored
  int students = 0;  // distinct student numbers among them
  // Records of the class left out: those whose test code names no known
  // test (whatever the range), and, when a range is given, those of the
  // test whose TestDate is no day.
  int not_scored = 0;
  int without_date = 0;
  std::array<int, 31> wrong{};          // [problem 1-30]: results that answered it wrongly
  std::vector<AreaFigures> areas;       // per area of the test, in order
  std::vector<ReteachFigures> reteach;  // most students first; ties in the test's lesson order
};

// The overview of the class's records among `records` (Diag.dat in file
// order). The results counted are the class's records of the test dated
// within the range (every record when no range is given); with
// `latest_only`, of those only each student's last one in the file.
ClassOverview SumClassResults(const std::vector<std::string>& records, const Roster& roster,
                              const OverviewRequest& request);

// Reads Diag.dat and STUDENTS.DAT, then SumClassResults; `tests` (when not
// null) gets the class's ClassTests. Writes no file.
Status BuildClassOverview(Folder& folder, const OverviewRequest& request, ClassOverview* overview,
                          std::vector<TestResults>* tests = nullptr);

// `part` of `whole` as a whole percent, halves up; 0 when `whole` is 0.
int PercentOf(long long part, long long whole);
// The mean of `sum` over `count` with one decimal, halves up ("4.2"); ""
// when `count` is 0.
std::string MeanText(long long sum, long long count);
// The problems called most missed: missed by at least half the results.
bool MostMissed(const ClassOverview& overview, int problem);

}  // namespace quillon

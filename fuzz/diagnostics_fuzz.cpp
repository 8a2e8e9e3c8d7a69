// One Diag.dat record and a roster name through the scoring and the report:
// counts in range, fixed-width rows, the plan in order without repeats, two
// printed pages (one for a test that is not known); the class overview of
// the record alone counts what its scoring found.
#include <algorithm>
#include <cstdint>

#include "diagnostics/ClassOverview.h"
#include "diagnostics/ClassOverviewText.h"
#include "diagnostics/DiagRecord.h"
#include "diagnostics/DiagnosticReport.h"
#include "support/Check.h"
#include "support/MemoryFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::vector<std::string> parts = fuzz::SplitInput(data, size, 2);
  const std::string& record = parts[0];
  const std::string& name = parts[1];
  std::optional<DiagnosticResult> r = ScoreDiagnosticRecord(record);
  const std::vector<std::vector<std::string>> pages = DiagnosticReportPages(record, name);
  if (!r) {
    FUZZ_CHECK(pages.size() == 1);
    FUZZ_CHECK(DiagnosticReportLines(record, name) == pages[0]);
    return 0;
  }
  FUZZ_CHECK(r->number_correct >= 0 && r->number_correct <= 30);
  FUZZ_CHECK(r->percent_correct >= 0 && r->percent_correct <= 100);
  FUZZ_CHECK(std::is_sorted(r->lessons_to_study.begin(), r->lessons_to_study.end()));
  FUZZ_CHECK(std::adjacent_find(r->lessons_to_study.begin(), r->lessons_to_study.end()) ==
             r->lessons_to_study.end());
  const std::size_t k = r->test->area_names.size();
  const std::vector<std::string> lines = BuildDiagnosticReport(*r, name, false);
  FUZZ_CHECK(lines.size() <= 100 && lines.size() >= 37 + k);
  for (std::size_t row = 9; row < 24; ++row) FUZZ_CHECK(lines[row].size() == 63);
  for (std::size_t a = 0; a < k; ++a) FUZZ_CHECK(lines[32 + a].size() == 63);
  FUZZ_CHECK(lines[2] == "Student: " + name);
  FUZZ_CHECK(pages.size() == 2);
  FUZZ_CHECK(pages[0].size() == 32 + k);
  FUZZ_CHECK(pages[1].size() == 5 + lines.size() - (34 + k));

  OverviewRequest request;
  request.classnum = r->class_number;
  request.test_code = r->test->code;
  const ClassOverview o = SumClassResults({record}, Roster(), request);
  FUZZ_CHECK(o.results == 1 && o.students == 1);
  for (int n = 1; n <= 30; ++n) FUZZ_CHECK(o.wrong[static_cast<std::size_t>(n)] == !r->correct[n]);
  FUZZ_CHECK(o.reteach.size() == r->lessons_to_study.size());
  FUZZ_CHECK(OverviewTables(o)[kProblemsTable].rows.size() == 30);
  request.range = {20000101, 20791231};
  const ClassOverview dated = SumClassResults({record}, Roster(), request);
  FUZZ_CHECK(dated.results + dated.without_date <= 1);
  FUZZ_CHECK((dated.without_date == 1) == !DiagTestDay(record).has_value());
  return 0;
}

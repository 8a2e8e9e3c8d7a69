// The class overview of a large Diag.dat: 10,000 Pre-Algebra results of one
// class of 99 students, read, scored and summed, against the report builder
// alone (each result scored and its report lines built, in memory) in the
// same run.
#include <benchmark/benchmark.h>

#include <random>
#include <stdexcept>

#include "BenchFolder.h"
#include "base/Text.h"
#include "data/ClassFiles.h"
#include "store/Read.h"
#include "diagnostics//ClassOverview.h"
#include "diagnostics/DiagnosticReport.h"
#include "platform/PosixFolder.h"

namespace quillon::bench {
namespace {

constexpr int kResults = 10000;

// The folder, made once: the roster and the results, every answer right
// with a chance of one in three of being wrong.
const std::string& OverviewFolder() {
  static const std::string path = [] {
    const std::string dir = EmptyFolder("overview");
    std::string students, diag;
    for (int s = 1; s <= 99; ++s) {
      students += BuildStudentRecord("Student " + std::to_string(s), s, 1, "ABCD");
    }
    std::mt19937 random(7);
    for (int n = 0; n < kResults; ++n) {
      std::string key, answers;
      for (int p = 0; p < 30; ++p) {
        key += static_cast<char>('A' + random() % 5);
        answers += random() % 3 == 0 ? 'x' : key.back();
      }
      const int student = 1 + static_cast<int>(random() % 99);
      diag += "C11 " + FixWidth(std::to_string(student), 2) + "091526" + answers + key;
    }
    WriteAll(dir + "/STUDENTS.DAT", students);
    WriteAll(dir + "/Diag.dat", diag);
    return dir;
  }();
  return path;
}

void Check(const Status& s) {
  if (!s.ok()) throw std::runtime_error(s.ToString());
}

void BM_ClassOverview(benchmark::State& state, bool latest_only) {
  PosixFolder folder(OverviewFolder());
  OverviewRequest request;
  request.classnum = 1;
  request.test_code = "C1";
  request.latest_only = latest_only;
  ClassOverview overview;
  for (auto _ : state) {
    Check(BuildClassOverview(folder, request, &overview));
    benchmark::DoNotOptimize(overview.wrong.data());
  }
  state.counters["results"] = overview.results;
}

// The same records already in memory: scoring and summing alone.
void BM_SumClassResults(benchmark::State& state) {
  PosixFolder folder(OverviewFolder());
  std::vector<std::string> records;
  Check(ReadDiagRecords(folder, &records));
  Roster roster;
  Check(LoadRoster(folder, &roster));
  OverviewRequest request;
  request.classnum = 1;
  request.test_code = "C1";
  request.latest_only = false;
  for (auto _ : state) {
    ClassOverview overview = SumClassResults(records, roster, request);
    benchmark::DoNotOptimize(overview.wrong.data());
  }
}

// The plain version: the report of every result, as "Display Diagnostic
// Test Results for All Students Shown In List" builds them.
void BM_ReportBuilderAlone(benchmark::State& state) {
  PosixFolder folder(OverviewFolder());
  std::vector<std::string> records;
  Check(ReadDiagRecords(folder, &records));
  Roster roster;
  Check(LoadRoster(folder, &roster));
  std::size_t lines = 0;
  for (auto _ : state) {
    lines = 0;
    for (const std::string& record : records) {
      lines += DiagnosticReportLines(record, roster.Name(1, DiagStudentNumber(record))).size();
    }
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = static_cast<double>(lines);
}

BENCHMARK_CAPTURE(BM_ClassOverview, all_results, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ClassOverview, latest_only, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumClassResults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportBuilderAlone)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();

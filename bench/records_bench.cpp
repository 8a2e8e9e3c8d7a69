// The records display and the export on the largest RECORDS.DAT (32,767
// records, 20,000 of class 1), and the display sort against the literal
// exchange sort in the same run.
#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"
#include "export/ExportWriter.h"
#include "platform/PosixFolder.h"
#include "records/DisplayBuilder.h"
#include "shell/Text.h"

namespace quillon::bench {
namespace {

struct Fixture {
  PosixFolder folder{LargestFolder()};
  SharedValues values;
  WorkingLists lists;
  Fixture() {
    LoadLessons(folder, &values.Catalogue);
    FillUnitTestNames(&values.UnitTestNames);
    values.PassingGrade = 60;
  }
};

void BM_DisplayAllStudentsOfClass(benchmark::State& state) {
  Fixture f;
  f.values.SortBy = static_cast<int>(state.range(0));
  DisplayRun run;
  for (auto _ : state) {
    Status s = DisplayNew(f.folder, f.values, f.lists, 1, -1, &run);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.counters["lines"] = static_cast<double>(run.lines.size());
}

void BM_DisplayOneStudent(benchmark::State& state) {
  Fixture f;
  DisplayRun run;
  for (auto _ : state) DisplayNew(f.folder, f.values, f.lists, 1, 1, &run);
  state.counters["lines"] = static_cast<double>(run.lines.size());
}

// The unsorted keys (by lesson) and lines of the 20,000-line display run.
void KeysAndLines(std::vector<std::string>* keys, std::vector<std::string>* lines) {
  Fixture f;
  BuildWorkingLists(f.folder, &f.lists);
  WriteWorkingFile(f.folder, f.lists, 1);
  SelectRecordLines(f.folder, 1, -1, lines);
  const TitleTables tables{f.values.Catalogue, f.values.UnitTestNames};
  for (std::size_t i = 0; i < lines->size(); ++i) {
    keys->push_back(DisplaySortKey(tables, (*lines)[i], 3, static_cast<int>(i + 1)));
  }
}

void BM_Sort(benchmark::State& state, bool literal) {
  std::vector<std::string> keys0, lines0;
  KeysAndLines(&keys0, &lines0);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> keys = keys0, lines = lines0;
    state.ResumeTiming();
    if (literal) {
      SortParallelListsLiteral(keys, lines, 0, keys.size());
    } else {
      SortParallelLists(keys, lines, 0, keys.size());
    }
    benchmark::DoNotOptimize(keys.data());
  }
  state.counters["lines"] = static_cast<double>(keys0.size());
}

void BM_Export(benchmark::State& state) {
  Fixture f;
  std::size_t written = 0;
  for (auto _ : state) {
    Status s = WriteExport(f.folder, {f.values.Catalogue, f.values.UnitTestNames}, std::nullopt,
                           static_cast<int>(state.range(0)), "bench-export.txt", &written);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.counters["lines"] = static_cast<double>(written);
}

BENCHMARK(BM_DisplayAllStudentsOfClass)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayOneStudent)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sort, fast, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sort, literal_exchange_sort, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_Export)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();

// The records display and the export on the largest RECORDS.DAT (32,767
// records, 20,000 of class 1), and the display's sort against the plain
// exchange sort of the same keys in the same run.
#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "base/Text.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"
#include "export/ExportWriter.h"
#include "platform/PosixFolder.h"
#include "records/DisplayBuilder.h"

namespace quillon::bench {
namespace {

struct Fixture {
  PosixFolder folder{LargestFolder()};
  LessonCatalogue catalogue;
  UnitNameTable unit_names;
  TitleTables tables{catalogue, unit_names};
  WorkingLists lists;
  Fixture() {
    Check(LoadLessons(folder, &catalogue));
    FillUnitTestNames(&unit_names);
  }
  static void Check(const Status& s) {
    if (!s.ok()) throw std::runtime_error(s.ToString());
  }
};

void BM_DisplayAllStudentsOfClass(benchmark::State& state) {
  Fixture f;
  DisplayRequest request;
  request.classnum = 1;
  request.sort_by = static_cast<SortBy>(state.range(0));
  DisplayResult result;
  for (auto _ : state) {
    Status s = DisplayNew(f.folder, f.tables, request, f.lists, &result);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.counters["lines"] = static_cast<double>(result.lines.size());
}

void BM_DisplayOneStudent(benchmark::State& state) {
  Fixture f;
  DisplayRequest request;
  request.classnum = 1;
  request.studentnum = 1;
  DisplayResult result;
  for (auto _ : state) {
    Status s = DisplayNew(f.folder, f.tables, request, f.lists, &result);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.counters["lines"] = static_cast<double>(result.lines.size());
}

// The unsorted keys (by lesson) and lines of the 20,000-line display run.
void KeysAndLines(std::vector<std::string>* keys, std::vector<std::string>* lines) {
  Fixture f;
  Fixture::Check(f.lists.Build(f.folder));
  RecordSelection selection;
  Fixture::Check(SelectRecords(f.folder, f.lists.lstRecords1(), 1, kAllStudents, &selection));
  for (std::size_t i = 0; i < selection.size(); ++i) {
    lines->push_back(selection.RecordLine(i));
    keys->push_back(
        DisplaySortKey(f.tables, lines->back(), SortBy::kLesson, static_cast<int>(i + 1)));
  }
}

// The plain literal version: for i < j, exchange when keys(i) > keys(j).
void LiteralExchangeSort(std::vector<std::string>& keys, std::vector<std::string>& values) {
  for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
    for (std::size_t j = i + 1; j < keys.size(); ++j) {
      if (keys[i] > keys[j]) {
        std::swap(keys[i], keys[j]);
        std::swap(values[i], values[j]);
      }
    }
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
      LiteralExchangeSort(keys, lines);
    } else {
      SortParallelLists(keys, lines, 0, keys.size());
    }
    benchmark::DoNotOptimize(keys.data());
  }
  state.counters["lines"] = static_cast<double>(keys0.size());
}

void BM_Export(benchmark::State& state) {
  Fixture f;
  SystemClock clock;
  std::size_t written = 0;
  for (auto _ : state) {
    std::string name = "bench-export.txt";
    Status s = WriteExport(f.folder, clock, f.tables, std::nullopt,
                           static_cast<int>(state.range(0)), &name, &written);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
    state.PauseTiming();
    if (!f.folder.RemoveFile(name).ok()) state.SkipWithError("cannot remove the export");
    state.ResumeTiming();
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

// Lab Now's work after a look: an append of a few records taken in and the
// rows made again, on the largest RECORDS.DAT the format allows (32,767
// records) and on one of 8,000,000 (the tail only is read); and a full
// re-read of the largest (a removal, a restore). Each against the plain
// literal version in the same run: the whole file read, every record of
// the day graded and counted again.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <map>

#include "BenchFolder.h"
#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"
#include "platform/PosixFolder.h"
#include "records/LabNow.h"
#include "records/Summary.h"
#include "records/SummaryFollow.h"

namespace quillon::bench {
namespace {

// The sample's records are of September 2026 to January 2027: the 9th of
// December has a few hundred of them in every 32,767.
class BenchClock : public Clock {
 public:
  Date Today() override { return {2026, 12, 9}; }
  DateTime Now() override { return {Today(), 10, 30, 0}; }
};

// Three records of the day: practice, a failed lesson test, practice.
const std::string kAppended =
    "C11 1 120926010110 9  12 "
    "C11 2 120926015110 5  7  "
    "C11 3 120926010120 20 3  ";

// A folder like the largest, with `records` records (the largest's repeated).
std::string FolderOf(long records) {
  const std::string dir = EmptyFolder("lab-" + std::to_string(records));
  for (const char* name : {"LESSONS.DAT", "CLASSES.DAT", "STUDENTS.DAT"}) {
    WriteAll(dir + "/" + name, ReadAll(LargestFolder() + "/" + name));
  }
  const std::string largest = ReadAll(LargestFolder() + "/RECORDS.DAT");
  std::string all;
  all.reserve(static_cast<std::size_t>(records) * 25);
  while (all.size() < static_cast<std::size_t>(records) * 25) {
    all.append(largest, 0,
               std::min(largest.size(), static_cast<std::size_t>(records) * 25 - all.size()));
  }
  WriteAll(dir + "/RECORDS.DAT", all);
  return dir;
}

void Append(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    throw std::runtime_error("cannot append to " + path);
  }
  ::close(fd);
}

struct Fixture {
  explicit Fixture(long records) : dir(FolderOf(records)), folder(dir) {
    if (!LoadLessons(folder, &catalogue).ok()) throw std::runtime_error("LESSONS.DAT");
    FillUnitTestNames(&unit_names);
  }
  std::string dir;
  PosixFolder folder;
  BenchClock clock;
  LessonCatalogue catalogue;
  UnitNameTable unit_names;
};

// The plain literal version: the whole file read, and every record of the
// day graded and counted again into its student's row.
std::size_t LiteralRows(Folder& folder, double passing_grade) {
  struct Tally {
    long long minutes = 0, problems = 0, correct = 0;
    int passed = 0, failed = 0;
    std::size_t last = 0;
  };
  std::string bytes;
  if (!folder.ReadFile(kRecordsFile, &bytes).ok()) throw std::runtime_error("RECORDS.DAT");
  std::map<std::pair<int, int>, Tally> rows;
  const int today = DayKey(2026, 12, 9);
  for (std::size_t at = 0; at + 25 <= bytes.size(); at += 25) {
    std::string r = bytes.substr(at, 25);
    r.replace(0, 2, NormalizeCourseCode(r.substr(0, 2)));
    if (RecordDayKey(r) != today) continue;
    Tally& t = rows[{ActivityClassNumber(r), ActivityStudentNumber(r)}];
    const Grading g = GradeRecordLine(ComposeRecordLine(r, ""), passing_grade);
    t.minutes += g.minutes;
    if (g.is_test) {
      ++(g.passed ? t.passed : t.failed);
    } else {
      t.problems += g.attempted;
      t.correct += g.correct;
    }
    t.last = at;
  }
  return rows.size();
}

void BM_AppendShownAfterTheLook(benchmark::State& state) {
  Fixture f(state.range(0));
  LabWatch watch(f.folder, f.clock, {f.catalogue, f.unit_names});
  if (!watch.Look().ok()) state.SkipWithError("first look");
  const std::string path = f.dir + "/RECORDS.DAT";
  std::size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Append(path, kAppended);
    state.ResumeTiming();
    if (!watch.Look().ok()) state.SkipWithError("look");
    rows = watch.Rows(kAllClasses, SecondsOf(f.clock.Now())).size();
    benchmark::DoNotOptimize(rows);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_AppendShownLiteral(benchmark::State& state) {
  Fixture f(state.range(0));
  const std::string path = f.dir + "/RECORDS.DAT";
  std::size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Append(path, kAppended);
    state.ResumeTiming();
    rows = LiteralRows(f.folder, 60);
    benchmark::DoNotOptimize(rows);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// A file read again whole: each time one record fewer or more at the start,
// as a removal and a restore leave it, and the times of the records kept.
void BM_FullReread(benchmark::State& state) {
  Fixture f(state.range(0));
  LabWatch watch(f.folder, f.clock, {f.catalogue, f.unit_names});
  if (!watch.Look().ok()) state.SkipWithError("first look");
  const std::string path = f.dir + "/RECORDS.DAT";
  const std::string whole = ReadAll(path);
  bool shorter = false;
  std::size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shorter = !shorter;
    WriteAll(path, shorter ? whole.substr(25) : whole);
    state.ResumeTiming();
    if (!watch.Look().ok()) state.SkipWithError("look");
    rows = watch.Rows(kAllClasses, SecondsOf(f.clock.Now())).size();
    benchmark::DoNotOptimize(rows);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_FullRereadLiteral(benchmark::State& state) {
  Fixture f(state.range(0));
  const std::string path = f.dir + "/RECORDS.DAT";
  const std::string whole = ReadAll(path);
  bool shorter = false;
  std::size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shorter = !shorter;
    WriteAll(path, shorter ? whole.substr(25) : whole);
    state.ResumeTiming();
    rows = LiteralRows(f.folder, 60);
    benchmark::DoNotOptimize(rows);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// The class summary's own refresh after an append: both files looked at,
// the figures of class 1 (20,000 records) from the bytes held.
void BM_SummaryRefreshAfterAppend(benchmark::State& state) {
  Fixture f(32767);
  SummaryFollow follow(f.folder);
  bool changed = false;
  if (!follow.Look(&changed).ok()) state.SkipWithError("first look");
  WorkingLists lists;
  SummaryRequest request;
  request.classnum = 1;
  std::vector<SummaryRow> rows;
  const std::string path = f.dir + "/RECORDS.DAT";
  for (auto _ : state) {
    state.PauseTiming();
    Append(path, kAppended);
    state.ResumeTiming();
    if (!follow.Look(&changed).ok() || !changed || !follow.Summarize(lists, request, &rows).ok()) {
      state.SkipWithError("refresh");
    }
    benchmark::DoNotOptimize(rows.data());
  }
  state.counters["students"] = static_cast<double>(rows.size());
}

// The first look, when the window opens: the whole file read once.
void BM_FirstLook(benchmark::State& state) {
  Fixture f(state.range(0));
  for (auto _ : state) {
    LabWatch watch(f.folder, f.clock, {f.catalogue, f.unit_names});
    if (!watch.Look().ok()) state.SkipWithError("look");
    benchmark::DoNotOptimize(watch.works().size());
  }
}

BENCHMARK(BM_FirstLook)->Arg(32767)->Arg(8000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendShownAfterTheLook)->Arg(32767)->Arg(8000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendShownLiteral)->Arg(32767)->Arg(8000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullReread)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRereadLiteral)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummaryRefreshAfterAppend)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();

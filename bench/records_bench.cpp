// The records display, its sort and the export on the largest RECORDS.DAT
// (32,767 records, 20,000 of class 1) and on 8,000,000 records (200 MB),
// each beside a plain pass over the same bytes in the same run: the
// simplest fast way of doing the step's reading, writing and sorting.
// After the runs, each step's time is printed as a ratio to its plain pass;
// on the 8,000,000 records also the peak memory as a multiple of the file.
//
// The plain passes:
//   display  read RECORDS.DAT whole; write RECORDS2.DAT and read it back;
//            one 106-byte line per selected record, composed by copying
//            fixed pieces; std::sort of one 8-byte key per line.
//   export   the same read; lines of the export's length composed the same
//            way and sorted by an 8-byte key; one write through a temporary
//            file, forced to disk, and a rename.
//   sort     std::sort of one 8-byte key per line.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>

#include "BenchFolder.h"
#include "base/Text.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"
#include "export/ExportWriter.h"
#include "platform/PosixFolder.h"
#include "records/DisplayBuilder.h"

namespace quillon::bench {
namespace {

// 8,000,000 records over the sample's classes, made once and kept under
// /tmp for later runs.
const std::string& HugeFolder() {
  static const std::string path = [] {
    const std::string dir =
        (std::filesystem::temp_directory_path() / "quillon-bench-huge").string();
    std::error_code error;
    if (std::filesystem::file_size(dir + "/RECORDS.DAT", error) == 200'000'000u) return dir;
    std::filesystem::remove_all(dir);
    const std::string command = std::string(MAKE_SAMPLE_FOLDER) +
                                " --records 8000000 --seed 3 --lessons " + SAMPLE_LESSONS + " " +
                                dir + " >/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("make_sample_folder failed");
    return dir;
  }();
  return path;
}

const std::string& FolderOf(int size) { return size == 0 ? LargestFolder() : HugeFolder(); }

struct Fixture {
  PosixFolder folder;
  LessonCatalogue catalogue;
  UnitNameTable unit_names;
  TitleTables tables{catalogue, unit_names};
  WorkingLists lists;
  explicit Fixture(int size) : folder(FolderOf(size)) {
    Check(LoadLessons(folder, &catalogue));
    FillUnitTestNames(&unit_names);
  }
  static void Check(const Status& s) {
    if (!s.ok()) throw std::runtime_error(s.ToString());
  }
};

// Peak memory of the process from now on, as the kernel counts it.
void ResetPeakMemory() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}
double PeakMemoryBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) * 1024;
  }
  return 0;
}
void CountPeakMemory(benchmark::State& state, int size, const std::string& folder) {
  if (size == 0) return;
  state.counters["peak_x_file"] =
      PeakMemoryBytes() / static_cast<double>(std::filesystem::file_size(folder + "/RECORDS.DAT"));
}

// --- the measured steps ------------------------------------------------------

// range(0): the folder (0 largest, 1 huge); range(1): the sort.
void BM_DisplayClass(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Fixture f(size);
  DisplayRequest request;
  request.classnum = 1;
  request.sort_by = static_cast<SortBy>(state.range(1));
  DisplayResult result;
  ResetPeakMemory();
  for (auto _ : state) {
    Status s = DisplayNew(f.folder, f.tables, request, f.lists, &result);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.counters["lines"] = static_cast<double>(result.lines.size());
  CountPeakMemory(state, size, FolderOf(size));
}

void BM_DisplayStudent(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Fixture f(size);
  DisplayRequest request;
  request.classnum = 1;
  request.studentnum = 1;
  DisplayResult result;
  ResetPeakMemory();
  for (auto _ : state) {
    Status s = DisplayNew(f.folder, f.tables, request, f.lists, &result);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.counters["lines"] = static_cast<double>(result.lines.size());
  CountPeakMemory(state, size, FolderOf(size));
}

// The sort alone: the class's selected lines sorted by lesson, again and
// again from their selection order.
void BM_SortAlone(benchmark::State& state) {
  Fixture f(0);
  Fixture::Check(f.lists.Build(f.folder));
  RecordSelection selected;
  Fixture::Check(SelectRecords(f.folder, f.lists.lstRecords1(), 1, kAllStudents, &selected));
  for (auto _ : state) {
    state.PauseTiming();
    RecordSelection selection = selected;
    state.ResumeTiming();
    SortSelection(f.tables, SortBy::kLesson, SortDirection::kIncreasing, &selection);
    benchmark::DoNotOptimize(selection.Seq(0));
  }
  state.counters["lines"] = static_cast<double>(selected.size());
}

// The literal exchange sort of the same keys and lines: for i < j, exchange
// when key i > key j.
void BM_SortLiteralExchange(benchmark::State& state) {
  Fixture f(0);
  Fixture::Check(f.lists.Build(f.folder));
  RecordSelection selection;
  Fixture::Check(SelectRecords(f.folder, f.lists.lstRecords1(), 1, kAllStudents, &selection));
  std::vector<std::string> keys0, lines0;
  for (std::size_t i = 0; i < selection.size(); ++i) {
    lines0.push_back(selection.RecordLine(i));
    keys0.push_back(
        DisplaySortKey(f.tables, lines0.back(), SortBy::kLesson, static_cast<int>(i + 1)));
  }
  for (auto _ : state) {
    std::vector<std::string> keys = keys0, lines = lines0;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
      for (std::size_t j = i + 1; j < keys.size(); ++j) {
        if (keys[i] > keys[j]) {
          std::swap(keys[i], keys[j]);
          std::swap(lines[i], lines[j]);
        }
      }
    }
    benchmark::DoNotOptimize(keys.data());
  }
  state.counters["lines"] = static_cast<double>(keys0.size());
}

// range(0): the folder; range(1): the order.
void BM_Export(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  Fixture f(size);
  SystemClock clock;
  std::size_t written = 0;
  ResetPeakMemory();
  for (auto _ : state) {
    std::string name = "bench-export.txt";
    Status s = WriteExport(f.folder, clock, f.tables, std::nullopt,
                           static_cast<int>(state.range(1)), &name, &written);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
    state.PauseTiming();
    if (!f.folder.RemoveFile(name).ok()) state.SkipWithError("cannot remove the export");
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(written);
  CountPeakMemory(state, size, FolderOf(size));
}

// --- the plain passes --------------------------------------------------------

std::string ReadWhole(const std::string& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  bytes.resize(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)));
  if (::pread(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
    throw std::runtime_error("cannot read " + path);
  ::close(fd);
  return bytes;
}

void WriteWhole(const std::string& path, std::string_view bytes, bool sync) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
      (sync && ::fsync(fd) != 0))
    throw std::runtime_error("cannot write " + path);
  ::close(fd);
}

// The 8-byte key of a line: its first eight bytes, read as one number.
std::uint64_t KeyOf(const char* line) {
  std::uint64_t key;
  std::memcpy(&key, line, 8);
  return key;
}

// One line of `width` bytes per record of `records` whose class field is
// `cls` (every record when empty): fixed pieces, the record, fixed pieces.
std::string ComposePlainLines(std::string_view records, std::string_view cls, std::size_t width,
                              std::size_t* count) {
  static const std::string kPieces(256, 'x');
  std::string lines;
  lines.resize(records.size() / 25 * width);
  char* out = lines.data();
  for (std::size_t at = 0; at + 25 <= records.size(); at += 25) {
    const char* r = records.data() + at;
    if (!cls.empty() && std::memcmp(r + 2, cls.data(), 2) != 0) continue;
    std::memcpy(out, r + 2, 4);  // class and student first: the key's bytes
    std::memcpy(out + 4, r + 6, 6);
    std::memcpy(out + 10, r, 2);
    std::memcpy(out + 12, r + 12, 13);
    std::memcpy(out + 25, kPieces.data(), width - 27);
    std::memcpy(out + width - 2, "\r\n", 2);
    out += width;
  }
  lines.resize(static_cast<std::size_t>(out - lines.data()));
  *count = lines.size() / width;
  return lines;
}

void SortPlainKeys(const std::string& lines, std::size_t width, std::size_t count) {
  std::vector<std::uint64_t> keys(count);
  for (std::size_t i = 0; i < count; ++i) keys[i] = KeyOf(lines.data() + i * width);
  std::sort(keys.begin(), keys.end());
  benchmark::DoNotOptimize(keys.data());
}

void PlainDisplay(benchmark::State& state, std::string_view cls, std::string_view student) {
  const std::string& dir = FolderOf(static_cast<int>(state.range(0)));
  std::size_t count = 0;
  for (auto _ : state) {
    const std::string records = ReadWhole(dir + "/RECORDS.DAT");
    WriteWhole(dir + "/RECORDS2.DAT", records, false);
    std::string back = ReadWhole(dir + "/RECORDS2.DAT");
    if (!student.empty()) {  // one student: only that student's records are kept
      std::string kept;
      for (std::size_t at = 0; at + 25 <= back.size(); at += 25) {
        if (std::memcmp(back.data() + at + 4, student.data(), 2) == 0) kept.append(back, at, 25);
      }
      back = std::move(kept);
    }
    const std::string lines = ComposePlainLines(back, cls, 106, &count);
    SortPlainKeys(lines, 106, count);
  }
  state.counters["lines"] = static_cast<double>(count);
}

// Class 1 and student 1 as the sample's records write them.
void BM_PlainDisplayClass(benchmark::State& state) { PlainDisplay(state, "1 ", ""); }
void BM_PlainDisplayStudent(benchmark::State& state) { PlainDisplay(state, "1 ", "1 "); }

void BM_PlainSort(benchmark::State& state) {
  const std::string records = ReadWhole(LargestFolder() + "/RECORDS.DAT");
  std::size_t count = 0;
  const std::string lines = ComposePlainLines(records, "1 ", 106, &count);
  for (auto _ : state) SortPlainKeys(lines, 106, count);
  state.counters["lines"] = static_cast<double>(count);
}

// The export's line length: the bytes of an export of the folder by lines.
std::size_t ExportLineLength(int size) {
  static std::map<int, std::size_t> lengths;
  if (lengths.count(size) == 0) {
    Fixture f(size);
    SystemClock clock;
    std::string name = "bench-export.txt";
    std::size_t written = 0;
    Fixture::Check(WriteExport(f.folder, clock, f.tables, std::nullopt, 1, &name, &written));
    const auto bytes = std::filesystem::file_size(FolderOf(size) + "/" + name);
    Fixture::Check(f.folder.RemoveFile(name));
    lengths[size] = written == 0 ? 90 : static_cast<std::size_t>(bytes / written);
  }
  return lengths[size];
}

void BM_PlainExport(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const std::string& dir = FolderOf(size);
  const std::size_t width = ExportLineLength(size);
  std::size_t count = 0;
  for (auto _ : state) {
    const std::string records = ReadWhole(dir + "/RECORDS.DAT");
    const std::string lines = ComposePlainLines(records, "", width, &count);
    SortPlainKeys(lines, width, count);
    WriteWhole(dir + "/plain-export.part", lines, true);
    std::filesystem::rename(dir + "/plain-export.part", dir + "/plain-export.txt");
    state.PauseTiming();
    std::filesystem::remove(dir + "/plain-export.txt");
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(count);
}

// --- the ratios --------------------------------------------------------------

// Each step beside its plain pass: the step's runs are named
// "<step>/<folder>/..." and the plain pass's "<plain>/<folder>".
struct Pairing {
  const char* step;
  const char* plain;
};
constexpr Pairing kPairs[] = {{"BM_DisplayClass", "BM_PlainDisplayClass"},
                              {"BM_DisplayStudent", "BM_PlainDisplayStudent"},
                              {"BM_SortAlone", "BM_PlainSort"},
                              {"BM_SortLiteralExchange", "BM_PlainSort"},
                              {"BM_Export", "BM_PlainExport"}};

// The console report, keeping each run's time (the median of repetitions
// where there are some) to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      const double ms = run.GetAdjustedRealTime() /
                        (run.time_unit == benchmark::kMillisecond   ? 1
                         : run.time_unit == benchmark::kMicrosecond ? 1e3
                                                                    : 1e6);
      // "/iterations:2" of the 8,000,000-record runs is not part of the step.
      std::string name = run.run_name.str();
      if (const std::size_t at = name.find("/iterations:"); at != std::string::npos) {
        name.erase(at, name.find('/', at + 1) - at);
      }
      if (median || times_.count(name) == 0) times_[name] = ms;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-40s %10s %10s %7s\n", "step", "ms", "plain ms", "ratio");
    for (const auto& [name, ms] : times_) {
      for (const Pairing& p : kPairs) {
        if (name.rfind(std::string(p.step) + "/", 0) != 0 && name != p.step) continue;
        // The plain pass of the same folder: "<plain>/<folder>" or "<plain>".
        const std::size_t slash = name.find('/');
        const std::string folder =
            slash == std::string::npos ? "" : name.substr(slash, name.find('/', slash + 1) - slash);
        auto plain = times_.find(std::string(p.plain) + folder);
        if (plain == times_.end()) plain = times_.find(p.plain);
        if (plain == times_.end()) continue;
        std::printf("%-40s %10.2f %10.2f %7.2f\n", name.c_str(), ms, plain->second,
                    ms / plain->second);
      }
    }
  }

 private:
  std::map<std::string, double> times_;
};

// Folder 0 is the largest file of the format (32,767 records), 1 the
// 8,000,000 records; sorts 0-3 are by name, percent, date and lesson;
// export orders 1-5.
BENCHMARK(BM_DisplayClass)
    ->ArgsProduct({{0}, {0, 1, 2, 3}})
    ->ArgNames({"folder", "sort"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayStudent)->Arg(0)->ArgName("folder")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDisplayClass)->Arg(0)->ArgName("folder")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDisplayStudent)->Arg(0)->ArgName("folder")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortLiteralExchange)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PlainSort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)
    ->ArgsProduct({{0}, {1, 2, 3, 4, 5}})
    ->ArgNames({"folder", "order"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainExport)->Arg(0)->ArgName("folder")->Unit(benchmark::kMillisecond);

// The 8,000,000 records ("folder:1"): left out with
// --benchmark_filter=-folder:1.
BENCHMARK(BM_DisplayClass)
    ->ArgsProduct({{1}, {0, 1, 2, 3}})
    ->ArgNames({"folder", "sort"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_DisplayStudent)
    ->Arg(1)
    ->ArgName("folder")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_PlainDisplayClass)
    ->Arg(1)
    ->ArgName("folder")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_PlainDisplayStudent)
    ->Arg(1)
    ->ArgName("folder")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_Export)
    ->ArgsProduct({{1}, {1, 2, 3, 4, 5}})
    ->ArgNames({"folder", "order"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_PlainExport)
    ->Arg(1)
    ->ArgName("folder")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
}  // namespace quillon::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  quillon::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

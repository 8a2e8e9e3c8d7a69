// Removing one student's records from RECORDS.DAT (32,767 and 1,000,000
// records), and a whole class's (200,000 of 1,000,000), bare and as the
// erase does it with its bin entry, against the plain copy the removal must
// at least do (read the file, write the kept records to a new file, force it
// to disk), all from the same starting state in the same run: RECORDS.DAT
// whole and on disk, RECORDS.TMP holding the previous removal's copy, the
// bin empty. Then the restore of a class's 200,000 records from the bin.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "BenchFolder.h"
#include "classes/Erase.h"
#include "data/ActivityRecord.h"
#include "platform/PosixFolder.h"
#include "store/Bin.h"
#include "store/Pending.h"
#include "store/Purge.h"
#include "store/Restore.h"

namespace quillon::bench {
namespace {

// RECORDS.DAT of `count` records spread over 5 classes of 10 students.
std::string Records(int count) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(count) * 25);
  for (int n = 0; n < count; ++n) {
    char record[26];
    std::snprintf(record, sizeof record, "C1%-2d%-2d0101260101%03d%03d%03d", 1 + n % 5,
                  1 + (n / 5) % 10, n % 1000, n % 999, n % 60);
    bytes.append(record, 25);
  }
  return bytes;
}

void WriteSynced(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
      ::fsync(fd) != 0) {
    throw std::runtime_error("cannot write " + path);
  }
  ::close(fd);
}

// The classes and rosters of those records, so that an erase's bin entry
// names them as it would in a real folder.
void WriteClassesAndRosters(const std::string& dir) {
  std::string classes, students;
  for (int c = 1; c <= 5; ++c) {
    char record[40];
    std::snprintf(record, sizeof record, "%-27s070%-2d", ("Class " + std::to_string(c)).c_str(), c);
    classes.append(record, 32);
    for (int s = 1; s <= 10; ++s) {
      std::snprintf(record, sizeof record, "%-21s%-2d%-2d%-6s",
                    ("Student " + std::to_string(c * 100 + s)).c_str(), s, c, "");
      students.append(record, 31);
    }
  }
  WriteSynced(dir + "/CLASSES.DAT", classes);
  WriteSynced(dir + "/STUDENTS.DAT", students);
}

// The starting state of every iteration of the removal benchmarks: the
// records of student `studentnum` (0: all) of class `classnum` go.
struct Start {
  std::string dir, records, kept;
  int studentnum, classnum;
  Students who;
  Start(int count, int student, int cls)
      : dir(EmptyFolder("purge")),
        records(Records(count)),
        studentnum(student),
        classnum(cls),
        who(student == 0 ? Students::WholeClass(ClassNum(cls))
                         : Students::One(ClassNum(cls), StudentNum(student))) {
    KeepTest keep = PurgeKeepTest(who);
    for (std::size_t at = 0; at < records.size(); at += 25) {
      if (keep(std::string_view(records).substr(at, 25))) kept.append(records, at, 25);
    }
    WriteClassesAndRosters(dir);
  }
  void Restore() const {
    WriteSynced(dir + "/RECORDS.DAT", records);
    WriteSynced(dir + "/RECORDS.TMP", kept);
    std::filesystem::remove_all(dir + "/" + kBinFolder);
  }
  // Whether the plain copy keeps the raw record at `r`.
  bool Keeps(const char* r) const {
    const bool in_class = r[2] == '0' + classnum && r[3] == ' ';
    if (studentnum == 0) return !in_class;
    return !(in_class && r[4] == '0' + studentnum && r[5] == ' ');
  }
};

const DateTime kNow{Date{2026, 12, 9}, 23, 30, 0};

// kOneStudent removes student 3 of class 2; kOneClass all of class 1.
enum Which { kOneStudent = 0, kOneClass = 1 };
Start MakeStart(const benchmark::State& state) {
  return state.range(1) == kOneStudent ? Start(static_cast<int>(state.range(0)), 3, 2)
                                       : Start(static_cast<int>(state.range(0)), 0, 1);
}

void BM_PurgeRecords(benchmark::State& state) {
  const Start start = MakeStart(state);
  PosixFolder folder(start.dir);
  for (auto _ : state) {
    state.PauseTiming();
    start.Restore();
    state.ResumeTiming();
    Status s = WithLock(folder, StoreFileOf(kRecordsFile), [&](const LockToken& lock) {
      return PurgeRecords(folder, lock, start.who);
    });
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The removal as the windows and quillon-cli make it: the bin entry too.
void BM_EraseWithBin(benchmark::State& state) {
  const Start start = MakeStart(state);
  PosixFolder folder(start.dir);
  for (auto _ : state) {
    state.PauseTiming();
    start.Restore();
    state.ResumeTiming();
    EraseResult result;
    Status s = EraseActivityRecords(folder, kNow, start.who, &result);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
    state.counters["erased"] = static_cast<double>(result.records);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The plain literal version: read the file, write the kept records to the
// temporary file, force it to disk.
void BM_PlainCopy(benchmark::State& state) {
  const Start start = MakeStart(state);
  const std::string from = start.dir + "/RECORDS.DAT", to = start.dir + "/RECORDS.TMP";
  std::string buffer(start.records.size(), '\0'), kept;
  for (auto _ : state) {
    state.PauseTiming();
    start.Restore();
    state.ResumeTiming();
    int in = ::open(from.c_str(), O_RDONLY);
    ssize_t n = ::read(in, buffer.data(), buffer.size());
    ::close(in);
    kept.clear();
    for (ssize_t at = 0; at + 25 <= n; at += 25) {
      if (start.Keeps(buffer.data() + at)) kept.append(buffer.data() + at, 25);
    }
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::write(out, kept.data(), kept.size()) != static_cast<ssize_t>(kept.size()) ||
        ::fsync(out) != 0) {
      state.SkipWithError("write failed");
    }
    ::close(out);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Restoring class 1's 200,000 records (of 1,000,000) from the bin: each
// iteration starts from the folder and the bin entry the erase left.
void BM_RestoreClass(benchmark::State& state) {
  const Start start(1000000, 0, 1);
  PosixFolder folder(start.dir);
  start.Restore();
  EraseResult erased;
  Status s = EraseActivityRecords(folder, kNow, Students::WholeClass(ClassNum(1)), &erased);
  if (!s.ok() || erased.records != 200000) {
    state.SkipWithError(("the erase before the restore failed: " + s.ToString()).c_str());
    return;
  }
  const std::string entry_path = start.dir + "/" + kBinFolder + "/" + erased.id + ".qbn";
  const std::string records = ReadAll(start.dir + "/RECORDS.DAT"),
                    tmp = ReadAll(start.dir + "/RECORDS.TMP"), entry = ReadAll(entry_path);
  for (auto _ : state) {
    state.PauseTiming();
    WriteSynced(start.dir + "/RECORDS.DAT", records);
    WriteSynced(start.dir + "/RECORDS.TMP", tmp);
    std::filesystem::remove_all(start.dir + "/" + kBinFolder);
    std::filesystem::create_directories(start.dir + "/" + kBinFolder);
    WriteSynced(entry_path, entry);
    state.ResumeTiming();
    RestorePlan plan;
    s = RestoreBinEntry(folder, erased.id, false, kNow.date, &plan);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.SetItemsProcessed(state.iterations() * 200000);
}

// The instant in which a program that keeps RECORDS.DAT open could append a
// record that the cut drops, where no lease can be had: a look at the length
// followed at once by the cut (an upper bound: both calls whole).
void BM_LookThenCut(benchmark::State& state) {
  const std::string path = EmptyFolder("cut") + "/RECORDS.DAT";
  WriteSynced(path, std::string(25 * 1000, 'x'));
  int fd = ::open(path.c_str(), O_RDWR);
  struct stat st;
  for (auto _ : state) {
    ::fstat(fd, &st);
    if (::ftruncate(fd, st.st_size) != 0) state.SkipWithError("ftruncate failed");
  }
  ::close(fd);
}

// (records, kOneStudent or kOneClass)
void RemovalArgs(benchmark::internal::Benchmark* b) {
  b->Args({32767, kOneStudent})->Args({1000000, kOneStudent})->Args({1000000, kOneClass});
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_PurgeRecords)->Apply(RemovalArgs);
BENCHMARK(BM_EraseWithBin)->Apply(RemovalArgs);
BENCHMARK(BM_PlainCopy)->Apply(RemovalArgs);
BENCHMARK(BM_RestoreClass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookThenCut)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();

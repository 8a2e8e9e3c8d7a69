// Removing one student's records from RECORDS.DAT (32,767 and 1,000,000
// records), against the plain copy the removal must at least do (read the
// file, write the kept records to a new file, force it to disk), both from
// the same starting state in the same run: RECORDS.DAT whole and on disk,
// RECORDS.TMP holding the previous removal's copy.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "BenchFolder.h"
#include "data/ActivityRecord.h"
#include "data/Purge.h"
#include "platform/PosixFolder.h"

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

// The starting state of every iteration of both benchmarks.
struct Start {
  std::string dir, records, kept;
  explicit Start(int count) : dir(EmptyFolder("purge")), records(Records(count)) {
    KeepTest keep = PurgeKeepTest(3, 2);
    for (std::size_t at = 0; at < records.size(); at += 25) {
      if (keep(std::string_view(records).substr(at, 25))) kept.append(records, at, 25);
    }
  }
  void Restore() const {
    WriteSynced(dir + "/RECORDS.DAT", records);
    WriteSynced(dir + "/RECORDS.TMP", kept);
  }
};

void BM_PurgeOneStudent(benchmark::State& state) {
  const Start start(static_cast<int>(state.range(0)));
  PosixFolder folder(start.dir);
  for (auto _ : state) {
    state.PauseTiming();
    start.Restore();
    state.ResumeTiming();
    Status s = PurgeRecords(folder, 3, 2);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The plain literal version: read the file, write the kept records to the
// temporary file, force it to disk.
void BM_PlainCopy(benchmark::State& state) {
  const Start start(static_cast<int>(state.range(0)));
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
      const char* r = buffer.data() + at;
      if (!(r[2] == '2' && r[4] == '3')) kept.append(r, 25);  // class 2, student 3
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

BENCHMARK(BM_PurgeOneStudent)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookThenCut)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();

// Removing one student's records from RECORDS.DAT (32,767 and 1,000,000
// records), against simply copying the same file (read, write, force to
// disk) in the same run.
#include <benchmark/benchmark.h>

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

void BM_PurgeOneStudent(benchmark::State& state) {
  const std::string dir = EmptyFolder("purge");
  const std::string bytes = Records(static_cast<int>(state.range(0)));
  PosixFolder folder(dir);
  for (auto _ : state) {
    state.PauseTiming();
    WriteAll(dir + "/RECORDS.DAT", bytes);
    state.ResumeTiming();
    Status s = PurgeRecords(folder, 3, 2);
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The plain literal version: read the file, write every record it keeps to
// the temporary file, force it to disk.
void BM_CopyFile(benchmark::State& state) {
  const std::string dir = EmptyFolder("copy");
  const std::string bytes = Records(static_cast<int>(state.range(0)));
  PosixFolder folder(dir);
  WriteAll(dir + "/RECORDS.DAT", bytes);
  for (auto _ : state) {
    std::string contents;
    Status s = folder.ReadFile("RECORDS.DAT", &contents);
    if (s.ok()) s = folder.WriteFile("RECORDS.TMP", contents);
    if (s.ok()) s = folder.SyncFile("RECORDS.TMP");
    if (!s.ok()) state.SkipWithError(s.ToString().c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_PurgeOneStudent)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFile)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();

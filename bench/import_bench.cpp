// Importing a class of 99 students from a roster file (read, decode, split,
// preview, passwords from the system's random source, one write forced to
// disk), against the plain way of adding them: the student dialog's add,
// 99 times, each a lookup of the next number and an append forced to disk.
#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "classes/ClassOperations.h"
#include "classes/RosterImport.h"
#include "data/ClassFiles.h"
#include "platform/PosixFolder.h"

namespace quillon::bench {
namespace {

struct Start {
  std::string dir = EmptyFolder("import");
  std::string file = dir + "/class.csv";
  Start() {
    std::string csv = "\xEF\xBB\xBFLast name;First name;PIN\r\n";
    for (int i = 1; i <= 99; ++i) {
      csv += "Surname" + std::to_string(i) + ";Given" + std::to_string(i) + ";\r\n";
    }
    WriteAll(file, csv);
    WriteAll(dir + "/" + kClassesFile, BuildClassRecord("Grade 5", 1));
  }
  void EmptyRoster() { WriteAll(dir + "/" + kStudentsFile, ""); }
};

void BM_Import99(benchmark::State& state) {
  Start start;
  PosixFolder folder(start.dir);
  SystemRandom random;
  for (auto _ : state) {
    state.PauseTiming();
    start.EmptyRoster();
    state.ResumeTiming();
    std::string bytes;
    RosterTable table;
    ImportPreview preview;
    int added = 0;
    if (!ReadRosterFile(start.file, &bytes).ok() ||
        !ParseRosterText(bytes, start.file, &table).ok() ||
        !BuildImportPreview(folder, table, 1, random, &preview).ok() ||
        !FileImportStudents(folder, preview, &added).ok() || added != 99) {
      state.SkipWithError("the import failed");
    }
  }
}
BENCHMARK(BM_Import99)->Unit(benchmark::kMillisecond);

void BM_AddStudent99Times(benchmark::State& state) {
  Start start;
  PosixFolder folder(start.dir);
  for (auto _ : state) {
    state.PauseTiming();
    start.EmptyRoster();
    state.ResumeTiming();
    for (int i = 1; i <= 99; ++i) {
      int n = 0;
      if (!FileAddStudent(folder, "Given" + std::to_string(i) + " Surname" + std::to_string(i), 1,
                          "ABC123", &n)
               .ok()) {
        state.SkipWithError("an add failed");
      }
    }
  }
}
BENCHMARK(BM_AddStudent99Times)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();

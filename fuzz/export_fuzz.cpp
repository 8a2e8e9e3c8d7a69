// RECORDS.DAT with its class and roster files, through the export: one
// line of eight fields a selected record, in key order; on a few lines the
// same order as the literal quicksort.
#include <algorithm>
#include <cstdint>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "export/ExportWriter.h"
#include "support/Check.h"
#include "support/MemoryFolder.h"
#include "support/core/FixedClock.h"

namespace {

// The export's quicksort as the system gives it, keys at every comparison.
void Literal(std::vector<std::string>& list, long low, long high, int order) {
  using quillon::ExportSortKey;
  long i = low, j = high;
  const std::string pivot = ExportSortKey(list[static_cast<std::size_t>((low + high) / 2)], order);
  while (i <= j) {
    while (ExportSortKey(list[static_cast<std::size_t>(i)], order) < pivot && i < high) ++i;
    while (pivot < ExportSortKey(list[static_cast<std::size_t>(j)], order) && j > low) --j;
    if (i <= j) std::swap(list[static_cast<std::size_t>(i++)], list[static_cast<std::size_t>(j--)]);
  }
  if (low < j) Literal(list, low, j, order);
  if (i < high) Literal(list, i, high, order);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::vector<std::string> parts = fuzz::SplitInput(data, size, 4);
  fuzz::MemoryFolder folder;
  folder.files[kClassesFile] = parts[1];
  folder.files[kStudentsFile] = parts[2];
  folder.files[kRecordsFile] = parts[3];
  const std::string& p = parts[0];
  const int order = p.empty() ? 1 : 1 + static_cast<unsigned char>(p[0]) % 5;
  std::optional<std::string> cutoff;
  if (p.size() >= 7) cutoff = p.substr(1, 6);
  LessonCatalogue catalogue;
  UnitNameTable names;
  FillUnitTestNames(&names);
  testing::FixedClock day({2024, 4, 5});
  std::string name = "out.txt";
  std::size_t written = 0, count = 0;
  FUZZ_CHECK(CountExportRecords(folder, cutoff, &count).ok());
  FUZZ_CHECK(WriteExport(folder, day, {catalogue, names}, cutoff, order, &name, &written).ok());
  FUZZ_CHECK(name == "out.txt" && written == count);
  FUZZ_CHECK(!folder.FileExists("out.txt.part"));

  // The lines in key order (recomposed here from the records).
  ExportLookups lookups;
  FUZZ_CHECK(LoadExportLookups(folder, &lookups).ok());
  std::vector<std::string> lines;
  const std::string& records = folder.files[kRecordsFile];
  for (std::size_t at = 0; at + 25 <= records.size(); at += 25) {
    const std::string_view r = std::string_view(records).substr(at, 25);
    if (!cutoff || RecordYymmdd(r) >= *cutoff)
      lines.push_back(ComposeExportLine({catalogue, names}, lookups, r));
  }
  FUZZ_CHECK(lines.size() == written);
  std::vector<std::string> sorted = lines;
  QuickSortLines(sorted, order);
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    FUZZ_CHECK(ExportSortKey(sorted[i - 1], order) <= ExportSortKey(sorted[i], order));
  }
  if (lines.size() <= 64) {
    std::vector<std::string> literal = lines;
    if (!literal.empty()) Literal(literal, 0, static_cast<long>(literal.size()) - 1, order);
    FUZZ_CHECK(sorted == literal);
  }
  return 0;
}

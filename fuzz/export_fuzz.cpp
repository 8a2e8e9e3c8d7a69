// RECORDS.DAT with its class and roster files, through the export: one
// line of eight fields a selected record; on up to a few hundred lines the
// file is exactly those lines in the order of the literal quicksort on keys
// read from the lines themselves.
#include <algorithm>
#include <cstdint>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "export/ExportLine.h"
#include "export/ExportWriter.h"
#include "support/Check.h"
#include "support/MemoryFolder.h"
#include "support/core/FixedClock.h"

namespace {

using quillon::Field;

// The key of a 107-character line for `order` (any other order: order 1).
std::string LineKey(std::string_view line, int order) {
  const std::string d = quillon::ZeroPad(
      quillon::ExportDateValue(Field(line, 55, 2), Field(line, 58, 2), Field(line, 61, 2)), 8);
  const std::string_view cls = Field(line, 1, 25), stu = Field(line, 26, 21),
                         course = Field(line, 47, 8);
  std::string key;
  switch (order) {
    case 2:
      return key.append(d).append(stu);
    case 3:
      return key.append(cls).append(d).append(stu);
    case 4:
      return key.append(cls).append(stu).append(d);
    case 5:
      return key.append(stu).append(course).append(d);
    default:
      return key.append(d).append(cls).append(stu);
  }
}

// The export's quicksort, keys at every comparison.
void Literal(std::vector<std::string>& list, long low, long high, int order) {
  long i = low, j = high;
  const std::string pivot = LineKey(list[static_cast<std::size_t>((low + high) / 2)], order);
  while (i <= j) {
    while (LineKey(list[static_cast<std::size_t>(i)], order) < pivot && i < high) ++i;
    while (pivot < LineKey(list[static_cast<std::size_t>(j)], order) && j > low) --j;
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

  // The lines of the selected records, in file order.
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
  if (lines.size() <= 300) {
    if (!lines.empty()) Literal(lines, 0, static_cast<long>(lines.size()) - 1, order);
    std::string expected;
    for (const std::string& line : lines) AppendExportFileLine(line, expected);
    FUZZ_CHECK(folder.files["out.txt"] == expected);
  }
  return 0;
}

#include "export/ExportWriter.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/RecordFile.h"
#include "store/Read.h"
#include "export/ExportLine.h"
#include "export/ExportLookups.h"
#include "export/ExportOrder.h"

namespace quillon {
namespace {

bool Selected(std::string_view record, const std::optional<std::string>& cutoff) {
  return !cutoff || RecordYymmdd(record) >= *cutoff;
}

}  // namespace

Status CountExportRecords(Folder& folder, const std::optional<std::string>& cutoff,
                          std::size_t* count) {
  *count = 0;
  RecordSet records;
  Status s = ReadRecords(folder, kRecordsFile, kActivityRecordLength, &records);
  for (std::size_t i = 0; i < records.Count(); ++i) *count += Selected(records.At(i), cutoff);
  return s;
}

Status WriteExport(Folder& folder, Clock& clock, const TitleTables& tables,
                   const std::optional<std::string>& cutoff, int order, std::string* file_name,
                   std::size_t* written) {
  *written = 0;
  ExportLookups lookups;
  Status s = LoadExportLookups(folder, &lookups);
  RecordSet records;
  if (s.ok()) s = ReadRecords(folder, kRecordsFile, kActivityRecordLength, &records);
  if (!s.ok()) return s;
  std::vector<std::string_view> picked;
  picked.reserve(records.Count());
  for (std::size_t i = 0; i < records.Count(); ++i) {
    if (Selected(records.At(i), cutoff)) picked.push_back(records.At(i));
  }
  ExportFileLines lines(tables, lookups);
  std::string line_a, line_b;
  const std::vector<std::uint32_t> sorted =
      ExportOrder(picked, order, lookups, [&](std::uint32_t a, std::uint32_t b) {
        if (picked[a] == picked[b]) return true;
        line_a.clear();
        line_b.clear();
        lines.Append(picked[a], line_a);
        lines.Append(picked[b], line_b);
        return line_a == line_b;
      });

  // The k-th record in the export's order (every record is picked when
  // there is no cutoff).
  const auto record = [&](std::size_t k) {
    return cutoff ? picked[sorted[k]] : records.At(sorted[k]);
  };

  // The lines go to a file of their own first; it takes the export's name
  // only once it is whole and on disk.
  const std::string temp = *file_name + ".part";
  std::unique_ptr<File> file;
  // A file left in its place by an export cut short (or a link put there)
  // is removed first; the new one is opened privately, never through a link.
  (void)folder.RemoveFile(temp);
  s = folder.OpenPrivateFile(temp, &file);
  if (s.ok()) s = file->Truncate(0);
  // The lines are put together in a buffer written a megabyte at a time.
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  std::string bytes(kChunk + ExportFileLines::kLongest, '\0');
  char* end = bytes.data();
  std::uint64_t at = 0;
  const auto flush = [&] {
    const std::string_view full(bytes.data(), static_cast<std::size_t>(end - bytes.data()));
    Status w = file->Write(at, full);
    at += full.size();
    end = bytes.data();
    return w;
  };
  for (std::size_t k = 0; s.ok() && k < sorted.size(); ++k) {
    // The records are visited out of file order: each is fetched from
    // memory a few lines ahead of its turn.
    if (k + 16 < sorted.size()) __builtin_prefetch(record(k + 16).data());
    end = lines.Put(record(k), end);
    if (static_cast<std::size_t>(end - bytes.data()) >= kChunk) s = flush();
  }
  if (s.ok()) s = flush();
  if (s.ok()) s = file->Sync();
  file.reset();
  for (bool taken = true; s.ok() && taken;) {
    s = folder.PublishFile(temp, *file_name, &taken);
    if (s.ok() && taken) {
      // A file of that name appeared since it was chosen: the next one.
      *file_name = MakeOutputFileName(folder, clock);
      if (*file_name == "Error") {
        s = Status::Error(temp, "all twenty export file names of the day are taken");
      }
    }
  }
  if (!s.ok()) {
    (void)folder.RemoveFile(temp);
    return Status::Error(*file_name, s.what());
  }
  *written = sorted.size();
  return Status::OK();
}

std::string MakeOutputFileName(Folder& folder, Clock& clock) {
  for (int n = 1; n <= 20; ++n) {
    Date today = clock.Today();
    std::string name = "Records" + ZeroPad(today.month, 2) + ZeroPad(today.day, 2) +
                       ZeroPad(today.year % 100, 2) + "-" + ZeroPad(n, 2) + ".txt";
    if (!folder.FileExists(name)) return name;
  }
  return "Error";
}

}  // namespace quillon

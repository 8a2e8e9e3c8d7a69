#include "data/Purge.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "data/ActivityRecord.h"
#include "data/RecordFile.h"
#include "shell/Text.h"

namespace quillon {
namespace {

// How often the length check may find more records before the rewrite gives
// up (a lesson appending without pause for this long is not a tutoring lesson).
constexpr int kMaxGrowthRounds = 1000;
// How long a partial record at the end may be waited on: it is either a stray
// fragment (dropped) or a lesson's append in progress (completed in a moment).
constexpr int kPartialWaits = 5;
constexpr auto kPartialWait = std::chrono::milliseconds(2);

int ClassField(std::string_view r) { return ValInt(r.substr(2, 2)); }
int StudentField(std::string_view r) { return ValInt(r.substr(4, 2)); }

}  // namespace

Status RewriteRecordFile(Folder& folder, std::string_view main_file, std::string_view temp_file,
                         std::size_t record_length, const KeepTest& keep, RewriteResult* result) {
  RewriteResult counts;
  const std::string copy_file = std::string(main_file) + ".NEW";
  Status s = folder.CreateIfMissing(main_file);
  if (!s.ok()) return s;
  std::string bytes;  // the main file as far as it has been read
  s = folder.ReadFile(main_file, &bytes);
  if (!s.ok()) return s;
  const std::size_t first_count = bytes.size() / record_length;

  std::string kept;
  std::size_t processed = 0;  // whole records put through `keep`
  std::size_t written = SIZE_MAX;  // records the copies hold, once written
  int partial_waits = 0;
  for (int round = 0;; ++round) {
    if (round == kMaxGrowthRounds) {
      return Status::Error(std::string(main_file),
                           "keeps growing while records are removed; nothing was removed");
    }
    const std::size_t whole = bytes.size() / record_length;
    for (; processed < whole; ++processed) {
      std::string_view record = std::string_view(bytes).substr(processed * record_length,
                                                                record_length);
      if (keep(record)) {
        kept.append(record);
        ++counts.kept;
      } else {
        ++counts.removed;
      }
    }
    if (written != processed) {
      s = folder.WriteFile(temp_file, kept);
      if (s.ok()) s = folder.SyncFile(temp_file);
      if (s.ok()) s = folder.WriteFile(copy_file, kept);
      if (s.ok()) s = folder.SyncFile(copy_file);
      if (!s.ok()) return s;
      written = processed;
    }

    std::uint64_t size = 0;
    s = folder.FileSize(main_file, &size);
    if (!s.ok()) return s;
    if (size < bytes.size()) {
      return Status::Error(std::string(main_file),
                           "was shortened by another program while records were removed; "
                           "nothing was removed");
    }
    if (size == bytes.size()) {
      if (size % record_length == 0 || partial_waits == kPartialWaits) break;
      ++partial_waits;
      std::this_thread::sleep_for(kPartialWait);
      continue;
    }
    std::string more;
    s = folder.ReadFrom(main_file, bytes.size(), &more);
    if (!s.ok()) return s;
    bytes += more;
  }
  counts.appended_meanwhile = processed - first_count;
  s = folder.RenameFile(copy_file, main_file);
  if (s.ok()) s = folder.SyncFolder();
  if (!s.ok()) return s;
  if (result != nullptr) *result = counts;
  return Status::OK();
}

KeepTest PurgeKeepTest(int studentnum, int classnum) {
  if (classnum == 0) return [](std::string_view) { return false; };
  if (classnum < 0 || studentnum < 0) return nullptr;
  if (studentnum == 0) {
    return [classnum](std::string_view r) { return ClassField(r) != classnum; };
  }
  return [studentnum, classnum](std::string_view r) {
    return StudentField(r) != studentnum || ClassField(r) != classnum;
  };
}

namespace {

Status Purge(Folder& folder, std::string_view main_file, std::string_view temp_file,
             std::size_t length, int studentnum, int classnum, RewriteResult* result) {
  KeepTest keep = PurgeKeepTest(studentnum, classnum);
  if (!keep) {
    return Status::Error(std::string(main_file),
                         "no records removed: the class or student number is negative");
  }
  return RewriteRecordFile(folder, main_file, temp_file, length, keep, result);
}

}  // namespace

Status PurgeRecords(Folder& folder, int studentnum, int classnum, RewriteResult* result) {
  return Purge(folder, kRecordsFile, "RECORDS.TMP", kActivityRecordLength, studentnum, classnum,
               result);
}

Status PurgeDiagnostics(Folder& folder, int studentnum, int classnum, RewriteResult* result) {
  return Purge(folder, kDiagFile, "Diag.TMP", kDiagRecordLength, studentnum, classnum, result);
}

Status CountPurgeable(Folder& folder, bool diagnostics, int studentnum, int classnum,
                      std::size_t* count) {
  *count = 0;
  KeepTest keep = PurgeKeepTest(studentnum, classnum);
  const char* file = diagnostics ? kDiagFile : kRecordsFile;
  if (!keep) return Status::Error(file, "the class or student number is negative");
  RecordSet records;
  Status s = ReadRecords(folder, file, diagnostics ? kDiagRecordLength : kActivityRecordLength,
                         &records, /*create_missing=*/false);
  for (std::size_t i = 0; i < records.Count(); ++i) {
    if (!keep(records.At(i))) ++*count;
  }
  return s;
}

}  // namespace quillon

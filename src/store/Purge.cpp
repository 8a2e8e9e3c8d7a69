#include "store/Purge.h"

#include "data/ActivityRecord.h"
#include "data/DiagFile.h"
#include "data/RecordFile.h"
#include "store/Pending.h"
#include "store/Read.h"

namespace quillon {

Status RewriteRecordFile(Folder& folder, const LockToken& lock, const StoreFile& file,
                         const KeepTest& keep, RewriteResult* result,
                         const RemovalOptions& options) {
  Removal removal(folder, lock, file, options);
  Status s = removal.Run(keep);
  if (removal.zero_bytes()) {
    // A removal cut short after its last journal entry was torn (the door
    // looked only at the journals' ends), gaps, or damage: the journal
    // decides, then the removal begins again.
    s = FinishJournalOf(folder, lock, file, options.finished, removal.read());
    if (!s.ok()) return s;
    Removal again(folder, lock, file, options);
    s = again.Run(keep);
    if (result != nullptr) *result = again.counts();
    return s;
  }
  if (result != nullptr) *result = removal.counts();
  return s;
}

KeepTest PurgeKeepTest(const Students& who) {
  if (!who.valid()) return nullptr;
  return [who](std::string_view r) {
    return !who.Holds(ActivityClassNumber(r), ActivityStudentNumber(r));
  };
}

namespace {

Status Purge(Folder& folder, const LockToken& lock, const char* main_file, const Students& who,
             RewriteResult* result, const RemovalOptions& options) {
  KeepTest keep = PurgeKeepTest(who);
  if (!keep) {
    return Status::Error(StatusCode::kRefused, main_file,
                         "no records removed: the class or student number is negative");
  }
  return RewriteRecordFile(folder, lock, *StoreFileOf(main_file), keep, result, options);
}

}  // namespace

Status PurgeRecords(Folder& folder, const LockToken& lock, const Students& who,
                    RewriteResult* result, const RemovalOptions& options) {
  return Purge(folder, lock, kRecordsFile, who, result, options);
}

Status PurgeDiagnostics(Folder& folder, const LockToken& lock, const Students& who,
                        RewriteResult* result, const RemovalOptions& options) {
  return Purge(folder, lock, kDiagFile, who, result, options);
}

Status CountPurgeable(Folder& folder, bool diagnostics, const Students& who, std::size_t* count) {
  *count = 0;
  KeepTest keep = PurgeKeepTest(who);
  const char* file = diagnostics ? kDiagFile : kRecordsFile;
  if (!keep) {
    return Status::Error(StatusCode::kRefused, file, "the class or student number is negative");
  }
  RecordSet records;
  Status s =
      ReadRecords(folder, file, diagnostics ? kDiagRecordLength : kActivityRecordLength, &records);
  for (std::size_t i = 0; i < records.Count(); ++i) {
    if (!keep(records.At(i))) ++*count;
  }
  return s;
}

}  // namespace quillon

#include "data/Purge.h"

#include "data/ActivityRecord.h"
#include "data/Append.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "data/RecordFile.h"
#include "data/Removal.h"
#include "data/Restore.h"

namespace quillon {
namespace {

Status TakeLock(Folder& folder, const RewriteOptions& options, std::unique_ptr<FolderLock>* lock) {
  return folder.Lock(kLockFile, options.lock_wait, lock);
}

// Gives a journal that does not fit its main file a name that says so,
// keeping it for whoever wants to look at it.
Status SetAside(Folder& folder, const RemovalFile& file, std::string* aside) {
  for (int n = 1; n < 1000; ++n) {
    *aside = std::string(file.temp) + ".not-applied" + (n == 1 ? "" : "-" + std::to_string(n));
    bool taken = false;
    Status s = folder.PublishFile(file.temp, *aside, &taken);
    if (!s.ok() || !taken) return s;
  }
  return Status::Error(file.temp, "cannot be set aside: too many set-aside journals");
}

Status HasZeroByte(Folder& folder, const RemovalFile& file, bool* zero) {
  std::string bytes;
  Status s = folder.ReadFile(file.main, &bytes);
  *zero = s.ok() && bytes.find('\0') != std::string::npos;
  return s;
}

Status CutShortWithoutJournal(const RemovalFile& file, const std::string& why) {
  return Status::Error(
      file.main, std::string("holds zero bytes: a removal of records from it was cut short, and "
                             "its journal ") +
                     file.temp + " " + why + ". Nothing was changed. Restore " + file.main +
                     " from a backup (the program will not read or change it until then).");
}

}  // namespace

Status FinishInterruptedRemoval(Folder& folder, const RemovalFile& file,
                                const RewriteOptions& options, std::size_t* removed,
                                bool* finished) {
  if (removed != nullptr) *removed = 0;
  *finished = false;
  std::string journal;
  Status s = folder.ReadFile(file.temp, &journal);
  if (!s.ok()) return s;
  JournalState state;
  std::string problem;
  const JournalRead read = ParseJournal(journal, file, &state, &problem);
  journal.clear();
  if (read != JournalRead::kJournal) {
    bool zero = false;
    s = HasZeroByte(folder, file, &zero);
    if (!s.ok()) return s;
    if (!zero) {
      // The main file shows no removal under way: a journal whose first
      // entry never reached the disk whole, or one of another file. Kept
      // under a name that says so, out of the way of the next removal.
      std::string aside;
      return read == JournalRead::kDamaged ? SetAside(folder, file, &aside) : s;
    }
    return CutShortWithoutJournal(
        file, read == JournalRead::kNone
                  ? (folder.FileExists(file.temp) ? "holds no journal" : "is missing")
                  : "is damaged (" + problem + ")");
  }
  Removal removal(folder, file, options);
  bool fits = false;
  const bool append = state.last == 'P';
  s = append ? FinishAppend(folder, file, state, &fits) : removal.Resume(std::move(state), &fits);
  if (!s.ok()) return s;
  if (!fits) {
    std::string aside;
    s = SetAside(folder, file, &aside);
    if (!s.ok()) return s;
    return Status::Error(
        file.temp, std::string("the journal of an interrupted removal does not fit ") + file.main +
                       " as it is now (the file was replaced or changed since); it was "
                       "set aside as " +
                       aside + " and nothing was changed");
  }
  *finished = !append;  // an addition completed or undone is not a removal to speak of
  if (removed != nullptr && !append && !removal.undone()) *removed = removal.counts().removed;
  return Status::OK();
}

Status RecoverRemovals(Folder& folder, std::vector<std::string>* finished) {
  finished->clear();
  std::unique_ptr<FolderLock> lock;
  const RewriteOptions options;
  std::size_t count = 0;
  const RemovalFile* files = RemovalFiles(&count);
  for (std::size_t i = 0; i < count; ++i) {
    // The lock is taken only when there is something to finish.
    std::string journal;
    bool zero = false;
    // A file that cannot be read is left to the reader that needs it.
    Status s = folder.ReadFile(files[i].temp, &journal);
    if (s.ok() && !LooksLikeJournal(journal)) s = HasZeroByte(folder, files[i], &zero);
    if (!s.ok() || (!LooksLikeJournal(journal) && !zero)) continue;
    journal.clear();
    if (lock == nullptr) s = TakeLock(folder, options, &lock);
    bool done = false;
    if (s.ok()) s = FinishInterruptedRemoval(folder, files[i], options, nullptr, &done);
    if (!s.ok()) return s;
    if (done) finished->push_back(files[i].main);
  }
  // Restores from the bin cut short. (A bin that cannot be read is left to
  // the bin's own commands, which say why.)
  std::vector<std::string> names;
  if (!folder.ListFolder(kBinFolder, &names).ok()) names.clear();
  Status s;
  for (const std::string& name : names) {
    if (name.find(".restoring") == std::string::npos) continue;
    if (lock == nullptr) s = TakeLock(folder, options, &lock);
    if (s.ok()) s = FinishRestores(folder);
    break;
  }
  return s;
}

Status ChangeUnderLock(Folder& folder, std::string_view main_file,
                       const std::function<Status()>& change) {
  const RemovalFile* file = RemovalFileOf(main_file);
  std::unique_ptr<FolderLock> lock;
  const RewriteOptions options;
  Status s = TakeLock(folder, options, &lock);
  bool zero = false, finished = false;
  if (s.ok() && file != nullptr) s = HasZeroByte(folder, *file, &zero);
  if (s.ok() && zero) s = FinishInterruptedRemoval(folder, *file, options, nullptr, &finished);
  if (s.ok()) s = change();
  return s;
}

Status RewriteRecordFile(Folder& folder, const RemovalFile& file, const KeepTest& keep,
                         RewriteResult* result, const RewriteOptions& untimed) {
  std::unique_ptr<FolderLock> lock;
  Status s = TakeLock(folder, untimed, &lock);
  // The time limit runs from the lock on, across both removals.
  RewriteOptions options = untimed;
  if (!options.started) options.started = std::chrono::steady_clock::now();
  // A restore cut short is finished first: its records go back before any
  // removal moves them.
  if (s.ok()) s = FinishRestores(folder);
  std::size_t earlier = 0;
  for (bool finished = false; s.ok();) {
    Removal removal(folder, file, options);
    bool cut_short = false;
    s = removal.Run(keep, &cut_short);
    if (s.ok() && cut_short && !finished) {
      // A removal cut short is finished first; then this one starts afresh.
      s = FinishInterruptedRemoval(folder, file, options, &earlier, &finished);
      if (s.ok() && !finished) s = CutShortWithoutJournal(file, "holds no journal");
      continue;
    }
    if (s.ok() && cut_short) s = CutShortWithoutJournal(file, "holds no journal");
    if (result != nullptr) {
      *result = removal.counts();
      result->finished_earlier = earlier;
    }
    break;
  }
  return s;
}

KeepTest PurgeKeepTest(int studentnum, int classnum) {
  if (classnum == kEveryClass) return [](std::string_view) { return false; };
  if (classnum < 0 || studentnum < 0) return nullptr;
  if (studentnum == kEveryStudent) {
    return [classnum](std::string_view r) { return ActivityClassNumber(r) != classnum; };
  }
  // Both purged layouts hold the class number at 3-4 and the student at 5-6.
  return [studentnum, classnum](std::string_view r) {
    return ActivityStudentNumber(r) != studentnum || ActivityClassNumber(r) != classnum;
  };
}

namespace {

Status Purge(Folder& folder, const char* main_file, int studentnum, int classnum,
             RewriteResult* result, const RewriteOptions& options) {
  KeepTest keep = PurgeKeepTest(studentnum, classnum);
  if (!keep) {
    return Status::Error(main_file, "no records removed: the class or student number is negative");
  }
  return RewriteRecordFile(folder, *RemovalFileOf(main_file), keep, result, options);
}

}  // namespace

Status PurgeRecords(Folder& folder, int studentnum, int classnum, RewriteResult* result,
                    const RewriteOptions& options) {
  return Purge(folder, kRecordsFile, studentnum, classnum, result, options);
}

Status PurgeDiagnostics(Folder& folder, int studentnum, int classnum, RewriteResult* result,
                        const RewriteOptions& options) {
  return Purge(folder, kDiagFile, studentnum, classnum, result, options);
}

Status CountPurgeable(Folder& folder, bool diagnostics, int studentnum, int classnum,
                      std::size_t* count) {
  *count = 0;
  KeepTest keep = PurgeKeepTest(studentnum, classnum);
  const char* file = diagnostics ? kDiagFile : kRecordsFile;
  if (!keep) return Status::Error(file, "the class or student number is negative");
  RecordSet records;
  Status s =
      ReadRecords(folder, file, diagnostics ? kDiagRecordLength : kActivityRecordLength, &records);
  for (std::size_t i = 0; i < records.Count(); ++i) {
    if (!keep(records.At(i))) ++*count;
  }
  return s;
}

}  // namespace quillon

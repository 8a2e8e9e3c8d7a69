#include "store/Pending.h"

#include "store/Append.h"
#include "store/Journal.h"
#include "store/Removal.h"
#include "store/Restore.h"

namespace quillon {
namespace {

// The offset of the first zero byte of `bytes` that is not inside a whole
// record of zero bytes (a gap), or npos.
std::size_t FirstStrayZero(std::string_view bytes, std::size_t length) {
  for (std::size_t at = bytes.find('\0'); at != std::string_view::npos;
       at = bytes.find('\0', at + 1)) {
    const std::size_t record = at / length * length;
    if (record + length > bytes.size() || !IsGap(bytes.substr(record, length))) return at;
    at = record + length - 1;
  }
  return std::string_view::npos;
}

// Where the main file shows a removal under way that no journal explains.
Status Unexplained(const StoreFile& file, std::string_view bytes, const std::string& journal) {
  return Status::Error(StatusCode::kDamaged, file.main,
                       ZeroBytesAt(file, bytes) + ", and its journal " + file.temp + " " +
                           journal +
                           ". Nothing was changed. If a removal of records was cut short and "
                           "its journal lost, restore " +
                           file.main +
                           " from a backup; the records around the zero bytes can still be "
                           "read, and the program removes none from the file until then.");
}

// Finishes the journal of `file`, if it holds one that is live.
Status FinishJournal(Folder& folder, const LockToken& lock, const StoreFile& file,
                     PendingReport* report, const std::string* main_bytes, Look look) {
  const bool live = JournalIsLive(folder, file);
  Status s;
  if (!live && main_bytes == nullptr && look == Look::kJournalEnds) return s;
  std::string read;
  if (main_bytes == nullptr) {
    s = folder.ReadFile(file.main, &read);
    if (!s.ok()) return s;
    main_bytes = &read;
  }
  const std::size_t zero = FirstStrayZero(*main_bytes, file.length);
  // A removal whose last entry was cut short by a crash leaves the journal
  // without a whole entry at its end, and a zero byte in the main file.
  if (!live && zero == std::string::npos) return s;
  std::string journal;
  s = folder.ReadPrivateFile(file.temp, &journal);
  if (!s.ok()) return s;
  JournalState state;
  std::string problem;
  const JournalRead parsed = ParseJournal(journal, file, &state, &problem);
  journal.clear();
  std::string aside;
  auto set_aside = [&](const std::string& why) {
    Status s2 = SetAside(folder, file.temp, "not-applied", &aside);
    if (s2.ok()) s2 = folder.SyncFolder();
    if (s2.ok() && report != nullptr) {
      report->push_back({Finished::What::kSetAside, file.main,
                         Status::Error(StatusCode::kDoesNotFit, file.temp,
                                       why + "; it was set aside as " + aside +
                                           " and nothing was changed")
                             .ToString()});
    }
    return s2;
  };
  if (parsed != JournalRead::kJournal) {
    if (zero != std::string::npos) {
      return Unexplained(file, *main_bytes,
                         parsed == JournalRead::kNone
                             ? (folder.FileExists(file.temp) ? "holds no journal" : "is missing")
                             : "is damaged (" + problem + ")");
    }
    // Nothing in the main file shows a change: a journal whose first
    // entry never reached the disk whole, kept out of the way.
    return set_aside("the journal is damaged (" + problem + ")");
  }
  bool fits = false;
  Finished done{Finished::What::kRemovalFinished, file.main, "", 0};
  if (state.last == 'P') {
    s = FinishAppend(folder, lock, file, state,
                     [&](std::string_view tag, std::uint64_t at) {
                       return NoteGroupAppended(folder, tag, at);
                     },
                     &fits);
    done.what = Finished::What::kAppendCompleted;
  } else if (state.last == 'W') {
    s = FinishChange(folder, lock, file, state, &fits);
    done.what = Finished::What::kChangeCompleted;
  } else {
    Removal removal(folder, lock, file, RemovalOptions());
    s = removal.Resume(std::move(state), &fits);
    if (removal.undone()) done.what = Finished::What::kRemovalUndone;
    if (fits && !removal.undone()) done.removed = removal.counts().removed;
  }
  if (!s.ok()) return s;
  if (!fits) {
    s = set_aside("the journal of an interrupted change does not fit " + std::string(file.main) +
                  " as it is now (the file was replaced or changed since)");
    if (!s.ok()) return s;
    // A removal's zero byte left without the journal that explains it.
    std::string now;
    s = folder.ReadFile(file.main, &now);
    if (s.ok() && FirstStrayZero(now, file.length) != std::string::npos) {
      return Unexplained(file, now, "did not fit it and was set aside as " + aside);
    }
    return s;
  }
  if (report != nullptr) report->push_back(done);
  return s;
}

}  // namespace

std::string Describe(const Finished& f) {
  switch (f.what) {
    case Finished::What::kRemovalFinished:
      return "A removal of records from " + f.file + " was interrupted; it has now been finished.";
    case Finished::What::kRemovalUndone:
      return "A removal of records from " + f.file +
             " was interrupted while it was being undone; it has now been undone: every record "
             "is back in its place.";
    case Finished::What::kAppendCompleted:
      return "An addition of records to " + f.file +
             " was interrupted; it has now been completed.";
    case Finished::What::kChangeCompleted:
      return "A change of records in " + f.file + " was interrupted; it has now been completed.";
    case Finished::What::kRestoreFinished:
      return "A restore of erased records (" + f.file +
             ") was interrupted; it has now been finished.";
    case Finished::What::kSetAside:
    case Finished::What::kLeftPending:
      return f.detail;
  }
  return f.detail;
}

std::string ZeroBytesAt(const StoreFile& file, std::string_view bytes) {
  const std::size_t at = FirstStrayZero(bytes, file.length);
  if (at == std::string_view::npos) return std::string(file.main) + " holds no zero byte";
  return "holds zero bytes from byte " + std::to_string(at) + " (in record " +
         std::to_string(at / file.length + 1) + "), which no tutoring lesson writes";
}

Status FinishJournalOf(Folder& folder, const LockToken& lock, const StoreFile& file,
                       PendingReport* report, const std::string& main_bytes) {
  return FinishJournal(folder, lock, file, report, &main_bytes, Look::kMainFiles);
}

Status FinishPending(Folder& folder, const LockToken& lock, const StoreFile* file,
                     PendingReport* report, const std::string* main_bytes, Look look) {
  std::size_t count = 0;
  const StoreFile* files = StoreFiles(&count);
  // A restore cut short appends to any of the files: every journal is
  // finished before it, never written over.
  bool restores = false;
  Status s = RestoresPending(folder, &restores);
  if (!s.ok()) restores = true;
  s = Status::OK();
  // Its appends never go over a journal, however it was cut short.
  if (restores) look = Look::kMainFiles;
  for (std::size_t i = 0; s.ok() && i < count; ++i) {
    if (file != nullptr && &files[i] != file && !restores) continue;
    s = FinishJournal(folder, lock, files[i], report, &files[i] == file ? main_bytes : nullptr,
                      look);
    // Damage that nothing explains stops no other file: it is said, and
    // the removal that would write over it refuses (store/Removal.h).
    if (s.code() == StatusCode::kDamaged && (file == nullptr || s.file() != file->main)) {
      if (report != nullptr) report->push_back({Finished::What::kLeftPending, s.file(), s.ToString()});
      s = Status::OK();
    }
  }
  if (s.ok()) s = FinishRestores(folder, lock, report);
  return s;
}

Status MayBePending(Folder& folder, const StoreFile& file, std::string_view main_bytes,
                    bool* pending) {
  *pending = main_bytes.find('\0') != std::string_view::npos || JournalIsLive(folder, file);
  bool restores = false;
  // A bin that cannot be read is left to the bin's own commands.
  if (!*pending && RestoresPending(folder, &restores).ok()) *pending = restores;
  return Status::OK();
}

Status RecoverFolder(Folder& folder, PendingReport* report) {
  std::size_t count = 0;
  const StoreFile* files = StoreFiles(&count);
  bool pending = false;
  for (std::size_t i = 0; i < count && !pending; ++i) {
    std::string bytes;
    Status s = folder.ReadFile(files[i].main, &bytes);
    // A file that cannot be read is left to the reader that needs it.
    if (!s.ok()) continue;
    pending = JournalIsLive(folder, files[i]) ||
              FirstStrayZero(bytes, files[i].length) != std::string::npos;
  }
  bool restores = false;
  if (!pending && !RestoresPending(folder, &restores).ok()) restores = false;
  if (!pending && !restores) return Status::OK();
  return WithLock(folder, nullptr, [](const LockToken&) { return Status::OK(); }, report);
}

Status WithLock(Folder& folder, const StoreFile* file,
                const std::function<Status(const LockToken&)>& change, PendingReport* report,
                std::chrono::milliseconds wait, Look look) {
  std::unique_ptr<LockToken> lock;
  Status s = TakeLock(folder, wait, &lock);
  if (s.ok()) s = FinishPending(folder, *lock, file, report, nullptr, look);
  if (s.ok()) s = change(*lock);
  return s;
}

}  // namespace quillon

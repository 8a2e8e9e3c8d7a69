// The one door of the store: whatever a crash, a kill or a power cut left
// pending in the folder is finished by one routine, in one order, before
// anything reads or changes the files, in the windows and in quillon-cli
// alike:
//  1. for each record file, its journal (store/Journal.h): a removal
//     finished or its undoing completed (store/Removal.h), an append
//     completed (store/Append.h), a change in place completed;
//  2. then the restores from the bin that were cut short (store/Restore.h),
//     which append through journals of their own.
// A journal is applied only to the state of the file it was written for:
// one that does not fit is set aside under a name that says so, never
// applied and never written over. A live journal is never overwritten: every
// writer finishes it first, here.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/Folder.h"
#include "store/Lock.h"
#include "store/StoreFiles.h"

namespace quillon {

// What finishing the pending work did, for the user.
struct Finished {
  enum class What {
    kRemovalFinished,  // a removal cut short, now done
    kRemovalUndone,    // a removal cut short while it was being undone: every record is back
    kAppendCompleted,  // records being added, now all there
    kChangeCompleted,  // records being changed in place, now all changed
    kRestoreFinished,  // a restore from the bin, now complete
    kSetAside,         // a journal or restore plan that did not fit, kept aside unapplied
    kLeftPending,      // a restore that could not go on now; it is tried again later
  };
  What what;
  std::string file;    // the file it concerned
  std::string detail;  // the sentence for a set-aside or left-pending one
  std::size_t removed = 0;  // records a finished removal took out
};
using PendingReport = std::vector<Finished>;

// How much of the main files the door reads. A removal whose last journal
// entry a crash cut short shows in its main file's zero byte, not at its
// journal's end: the door reads the main files for it, except for a caller
// that reads the main file itself and hands a zero byte it finds to
// FinishJournalOf (a removal: so that a large file is read once).
enum class Look { kMainFiles, kJournalEnds };

// Under the lock: finishes what is pending for `file` (every record file
// when null), then every restore cut short. `main_bytes` (may be null) are
// `file`'s main file as the caller has just read it. Fails, changing
// nothing more, only where the files cannot be read or written, or where a
// main file shows a removal under way that no journal explains (the
// sentence names the file and where); a journal set aside, or a restore
// that cannot go on now, is reported in `report` (may be null) and the
// caller goes on.
Status FinishPending(Folder& folder, const LockToken& lock, const StoreFile* file,
                     PendingReport* report, const std::string* main_bytes = nullptr,
                     Look look = Look::kMainFiles);

// Under the lock: finishes the journal of `file`, whose main file holds
// `main_bytes` (read under the lock); fails, changing nothing, where the
// main file shows a removal under way that no journal explains.
Status FinishJournalOf(Folder& folder, const LockToken& lock, const StoreFile& file,
                       PendingReport* report, const std::string& main_bytes);

// The program's start, and every command of the bin: looks at every file
// and the bin; takes the lock only when something is pending, and finishes
// it. `report` may be null.
Status RecoverFolder(Folder& folder, PendingReport* report = nullptr);

// Whether something may be pending for `file`, whose main file holds
// `main_bytes`: a zero byte there, a live journal, or a restore cut short.
// Reads nothing else but the journal's last bytes and the bin's names.
Status MayBePending(Folder& folder, const StoreFile& file, std::string_view main_bytes,
                    bool* pending);

// Takes the lock (waiting up to `wait`), finishes what is pending for
// `file` (every file when null), then runs `change` with the lock held.
Status WithLock(Folder& folder, const StoreFile* file,
                const std::function<Status(const LockToken&)>& change,
                PendingReport* report = nullptr, std::chrono::milliseconds wait = kLockWait,
                Look look = Look::kMainFiles);

// The sentence that tells the user what `finished` was: "A removal of
// records from RECORDS.DAT was interrupted; it has now been finished." and
// the like.
std::string Describe(const Finished& finished);

// Where a main file holds a zero byte that no journal explains: "holds zero
// bytes at byte 1250 (record 51)" and what it means, for messages.
std::string ZeroBytesAt(const StoreFile& file, std::string_view bytes);

}  // namespace quillon

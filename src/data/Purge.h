// Removing records from the program's fixed-length record files without ever
// losing or doubling one. The main file is rewritten in place: it keeps its
// owner, mode and links, and a tutoring lesson that holds it open appends
// into the live file whenever it writes.
//
// A removal holds the folder's lock (QUILLON.LCK) from its first read
// to its last flush, so there is one remover at a time on every computer
// that shares the folder. Its steps, each forced to disk before the next
// relies on it (see data/RemovalJournal.h for the journal):
//  1. Read the main file; mark each record kept or removed.
//  2. Journal: the records read and their marks, in the temporary file.
//  3. Write one zero byte where the cut will be and force it, then the kept
//     records from the first removed one on; force the main file.
//     From here until the cut the file holds a zero byte, which the
//     lessons never write: readers know a removal is under way.
//  4. Whole records a lesson appended meanwhile: journaled, then moved
//     behind the kept ones (a new zero byte behind them), as often as needed.
//  5. Journal "cut", then cut the file after the kept records if nothing
//     was appended since the last look (File::TruncateIfSize); force it.
//  6. Leave the temporary file holding the kept records alone.
// A removal still running after RewriteOptions::give_up_after is undone:
// every record is put back where it was, nothing is removed. A trailing
// partial record is waited on for RewriteOptions::partial_wait (a lesson's
// write in progress) and then dropped as a stray fragment.
//
// A removal cut short (a crash, a kill, a power cut) is finished, or its
// undoing completed, by the next removal, reader or start, from the
// journal, and only when every byte of the main file is one the removal
// could have left: a journal that does not fit is set aside, never applied.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/RemovalFiles.h"
#include "platform/Folder.h"

namespace quillon {

struct BinNote;

using KeepTest = std::function<bool(std::string_view record)>;

struct RewriteResult {
  std::size_t kept = 0;
  std::size_t removed = 0;
  // Records a tutoring lesson appended while the rewrite ran, taken in.
  std::size_t appended_meanwhile = 0;
  // Records that an earlier removal, cut short, had been asked to remove,
  // removed now that it was finished first.
  std::size_t finished_earlier = 0;
};

struct RewriteOptions {
  // A removal not done by then (a lesson appending without pause) is
  // undone, having changed nothing.
  std::chrono::milliseconds give_up_after{10000};
  // How long a partial record at the end is given to be completed.
  std::chrono::milliseconds partial_wait{2000};
  // How long to wait while another process holds the folder's lock.
  std::chrono::milliseconds lock_wait{15000};
  // When the time limit began, when not at the removal's own start (a
  // removal that first finishes one cut short counts both against it).
  std::optional<std::chrono::steady_clock::time_point> started;
  // The bin entry that receives the removed records (data/Bin.h); none
  // when null.
  const BinNote* bin = nullptr;
};

// Leaves in `file.main` exactly the whole records for which `keep` holds, in
// their file order, followed by every record appended while it ran that
// `keep` holds too; a missing file is created empty. `file.temp` ends
// holding the kept records. A removal of the file cut short earlier is
// finished first. On failure the status names the file and says whether
// anything changed.
Status RewriteRecordFile(Folder& folder, const RemovalFile& file, const KeepTest& keep,
                         RewriteResult* result = nullptr, const RewriteOptions& options = {});

// Finishes (or completes the undoing of) a removal of `file.main` that was
// cut short; the caller holds the folder's lock. `*removed` (may be null)
// receives the records it removed. A main file holding a zero byte without
// a journal that fits it is an error, and nothing is changed.
Status FinishInterruptedRemoval(Folder& folder, const RemovalFile& file,
                                const RewriteOptions& options, std::size_t* removed,
                                bool* finished);

// Finishes every removal cut short, and every restore from the bin, under
// the folder's lock; `finished` receives the names of the files a removal
// was finished on.
Status RecoverRemovals(Folder& folder, std::vector<std::string>* finished);

// Runs `change` on `main_file` under the folder's lock, after finishing a
// removal of it that was cut short.
Status ChangeUnderLock(Folder& folder, std::string_view main_file,
                       const std::function<Status()>& change);

// The numbers a purge or deletion takes for "every student of the class"
// and "every class".
inline constexpr int kEveryStudent = 0;
inline constexpr int kEveryClass = 0;

// The keep test of a purge, chosen from the arguments (student number FIRST,
// class number SECOND):
//   classnum 0            every record goes
//   classnum > 0, stu 0   the records of class classnum go
//   classnum > 0, stu > 0 the records of that student of that class go
// Negative numbers (classnum < 0, or studentnum < 0 with classnum not 0) have
// no test: the result is empty and nothing may be removed.
KeepTest PurgeKeepTest(int studentnum, int classnum);

// Purges RECORDS.DAT through RECORDS.TMP (25-character records) and Diag.dat
// through Diag.TMP (72-character records). Negative arguments leave the file
// unchanged and return an error.
Status PurgeRecords(Folder& folder, int studentnum, int classnum, RewriteResult* result = nullptr,
                    const RewriteOptions& options = {});
Status PurgeDiagnostics(Folder& folder, int studentnum, int classnum,
                        RewriteResult* result = nullptr, const RewriteOptions& options = {});

// How many records of RECORDS.DAT (or Diag.dat) such a purge would remove now.
Status CountPurgeable(Folder& folder, bool diagnostics, int studentnum, int classnum,
                      std::size_t* count);

}  // namespace quillon

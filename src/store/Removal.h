// Removing records from a record file in place without ever losing or
// doubling one, or taking over such a removal from its journal. The main
// file keeps its owner, mode and links, and a tutoring lesson that holds it
// open appends into the live file whenever it writes.
//
// The caller holds the folder's lock and has finished what was pending for
// the file (store/Pending.h). The steps, each forced to disk before the
// next relies on it (store/Journal.h for the journal):
//  1. Read the main file; mark each record kept or removed.
//  2. Journal: the records read and their marks (B), in the temporary file.
//  3. Write one zero byte where the cut will be and force it, then the kept
//     records from the first removed one on; force the main file. From here
//     until the cut the file holds a zero byte, which the lessons never
//     write: readers know a removal is under way.
//  4. Whole records a lesson appended meanwhile: journaled (A), then moved
//     behind the kept ones (a new zero byte behind them), as often as needed.
//  5. The bin entry (store/Bin.h) receives every removed record, on disk.
//  6. Journal "cut" (C) with the partial record at the end, if any (a
//     lesson's write in progress, never dropped), which then goes behind the
//     kept records; cut the file after it, if nothing was appended since
//     the last look and nothing stands beyond the length the look gave
//     (File::TruncateIfSize, after reading past that length: a share's
//     stated length can be out of date); force it.
//  7. Cut the temporary file back to the kept records.
// Before each step that writes, the lock and the journal must still be this
// removal's own (LockToken::StillOurs): when another program took the lock
// over, nothing more is written and the other finishes from the journal.
//
// A removal still running after RemovalOptions::give_up_after, or whose bin
// entry cannot be written, is undone: every record is put back where it
// was, nothing is removed. Whole records of zero bytes (a gap a lesson left
// on a share, writing at a length out of date) are not records: a removal
// drops them and does not put them in the bin.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Folder.h"
#include "store/Journal.h"
#include "store/Lock.h"

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
  // Gaps of zero bytes dropped, in records.
  std::size_t gaps = 0;
};

struct RemovalOptions {
  // A removal whose looks for records appended meanwhile have gone on this
  // long (a lesson appending without pause) is undone, having changed
  // nothing. Time the removal itself was stopped (a computer asleep) does
  // not count.
  std::chrono::milliseconds give_up_after{10000};
  // The bin entry that receives the removed records; none when null.
  const BinNote* bin = nullptr;
  // Where a removal cut short that this one finishes first is said (may
  // be null).
  std::vector<struct Finished>* finished = nullptr;
};

// True when `record` is all zero bytes: a gap, not a record.
bool IsGap(std::string_view record);

class Removal {
 public:
  Removal(Folder& folder, const LockToken& lock, const StoreFile& file,
          const RemovalOptions& options);

  // A new removal of the records for which `keep` does not hold. A main
  // file holding zero bytes other than gaps is refused (StatusCode::kDamaged)
  // and left as it is; zero_bytes() then tells, and read() holds the file.
  Status Run(const KeepTest& keep);
  bool zero_bytes() const { return zero_bytes_; }
  const std::string& read() const { return original_; }
  // Takes over the removal `state` describes. A main file that is not in a
  // state that removal could have left fails with `*fits` false, changing
  // nothing.
  Status Resume(JournalState state, bool* fits);

  const RewriteResult& counts() const { return counts_; }
  // True when the removal was undone rather than finished.
  bool undone() const { return undone_; }

 private:
  // Appends `records` (whole ones, in file order) with their marks.
  void TakeIn(std::string_view records, const KeepTest* keep, std::string* marks);
  // The main file once the kept records among its first `step_end` bytes
  // are written over the original from its start (zero bytes aside).
  std::string Image(std::uint64_t step_end) const;
  // True when every byte of `now` is the byte of `a` or of `b` at its place,
  // zero, or the byte of the fragment written behind the kept records.
  bool EachByteOneOf(std::string_view now, std::string_view a, std::string_view b) const;
  // Before each step that writes: the lock and the journal still ours.
  Status Check();
  // Appends a journal entry and forces it to disk.
  Status Note(char type, std::string_view payload);
  Status NoteBegin();
  // Writes a zero byte where the cut will be, then the kept records from
  // byte `from` on, each forced to disk.
  Status WriteKept(std::uint64_t from);
  // The removed records into the bin entry the journal names.
  Status FileInBin();
  // Steps 4 to 7 (or the undoing when time runs out or the bin fails).
  Status MoveAppendedAndCut(const KeepTest* keep);
  Status Undo();
  Status Done();

  Folder& folder_;
  const LockToken& lock_;
  const StoreFile& file_;
  const RemovalOptions options_;
  std::unique_ptr<File> main_, temp_;
  std::string original_;  // every record taken in, in file order
  std::string marks_;     // 'K' or 'R' for each
  std::string kept_;      // the kept records of original_
  std::string removed_;   // the others (gaps among them)
  std::uint64_t next_entry_ = 0;
  std::uint64_t begun_at_ = 0;  // K0: the kept length when the journal began
  std::string bin_note_;        // the bin's note in the journal, or empty
  bool bin_behind_ = true;      // the bin entry lacks some removed record
  std::string fragment_;        // the last C's partial record
  std::uint64_t fragment_at_ = 0;
  bool fragment_written_ = false;  // behind the kept records, by this program
  char last_ = 'B';
  RewriteResult counts_;
  bool undone_ = false;
  bool zero_bytes_ = false;
};

}  // namespace quillon

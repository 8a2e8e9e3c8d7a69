// One removal of records from a record file on its way, or one taken over
// from its journal: the steps listed in data/Purge.h. The caller holds the
// folder's lock.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "data/Purge.h"
#include "data/RemovalJournal.h"

namespace quillon {

class Removal {
 public:
  Removal(Folder& folder, const RemovalFile& file, const RewriteOptions& options);

  // A new removal of the records for which `keep` does not hold. A main
  // file holding a zero byte (a removal cut short) sets `*cut_short` and is
  // left as it is.
  Status Run(const KeepTest& keep, bool* cut_short);
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
  // Appends a journal entry and forces it to disk.
  Status Note(char type, std::string_view payload);
  // Writes the kept records and the B entry, and forces them to disk.
  Status NoteBegin();
  // After an entry of `size` bytes was written with status `s`: forced to
  // disk and taken as the last.
  Status Noted(char type, Status s, std::uint64_t size);
  // Files the removed records in the bin entry the journal names.
  Status FileInBin();
  // Writes a zero byte where the cut will be, then the kept records from
  // byte `from` on, each forced to disk.
  Status WriteKept(std::uint64_t from);
  // Steps 4 to 6 (or the undoing when time runs out).
  Status MoveAppendedAndCut(const KeepTest* keep);
  Status Undo();
  Status Done();

  Folder& folder_;
  const RemovalFile& file_;
  const RewriteOptions options_;
  const std::chrono::steady_clock::time_point start_;
  std::unique_ptr<File> main_, temp_;
  std::string original_;  // every record taken in, in file order
  std::string marks_;     // 'K' or 'R' for each
  std::string kept_;      // the kept records of original_
  std::string removed_;   // the others, for the bin
  std::uint64_t next_entry_ = 0;
  std::uint64_t begun_at_ = 0;  // K0: the kept length when the journal began
  std::string bin_note_;        // the bin's note in the journal, or empty
  char last_ = 'B';
  RewriteResult counts_;
  bool undone_ = false;
};

}  // namespace quillon

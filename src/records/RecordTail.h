// Following one record file that the tutoring lessons append to (RECORDS.DAT,
// Diag.dat), reading only: a look at its length and time that opens nothing,
// and, when it grew, a read of the bytes appended since, in one open that
// is closed again at once. The file is never kept open (a removal needs
// moments when only the lessons hold it), the folder's lock is never taken
// and nothing pending is finished: a removal under way is seen, not helped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Folder.h"

namespace quillon {

// What one look found.
struct TailLook {
  enum class Kind {
    kSame,      // nothing changed: no records
    kAppended,  // `records` are the whole records appended since the last look
    kReread,    // `records` are every whole record of the file, in place of those before
  };
  Kind kind = Kind::kSame;
  std::string records;
  // The file as the look found it, at every look:
  bool exists = false;
  // Bytes at the end that are not yet a whole record (a lesson's write in
  // progress); they are read as a record once it is whole.
  std::size_t partial = 0;
  // Where the first zero byte stands (a removal under way or cut short, or
  // damage: the lessons never write one). Records from the one holding it
  // on are not taken, and the file is read again whole at each change
  // until it holds none.
  std::optional<std::uint64_t> zero_at;
  DateTime changed;  // when the file last changed (local time)
};

class RecordTail {
 public:
  // `name` in `folder`, of records `length` bytes long.
  RecordTail(Folder& folder, std::string name, std::size_t length);

  // The first look reads the whole file (kReread). Later looks: the same
  // length, file and time as before read nothing (kSame); a file grown in
  // place is read from a few records before its last whole one on (those
  // read again tell an append from a rewrite) and gives the records appended
  // (kAppended); a file that shrank, was replaced by another, was rewritten
  // in place (the same length at a new time, or its last records changed),
  // or held a zero byte is read again whole (kReread). A missing file is a
  // file without records. On failure nothing changes and the next look
  // tries again.
  [[nodiscard]] Status Look(TailLook* look);
  // The next look reads the whole file again.
  void Reset() { known_ = false; }

  const std::string& name() const { return name_; }

 private:
  Status ReadWhole(TailLook* look);
  // Takes the whole records of `bytes`, which begin at byte `at` of the
  // file, up to the first one holding a zero byte; returns their length.
  std::size_t Take(std::string_view bytes, std::uint64_t at);
  void Report(TailLook* look) const;

  Folder& folder_;
  std::string name_;
  std::size_t length_;
  bool known_ = false;
  FileLook last_;             // the file as last read
  std::uint64_t end_ = 0;     // the whole records taken so far end here
  std::string last_records_;  // the last of them (up to kOverlap), as read
  std::optional<std::uint64_t> zero_at_;
};

}  // namespace quillon

// Fixed-length record files: no header, no separators, no line ends. Record n
// (from 1) is bytes (n-1)*L to n*L-1; the count is the file length divided by
// L, so a trailing partial record is never read.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Folder.h"

namespace quillon {

constexpr std::size_t kClassRecordLength = 32;     // CLASSES.DAT
constexpr std::size_t kStudentRecordLength = 31;   // STUDENTS.DAT
constexpr std::size_t kActivityRecordLength = 25;  // RECORDS.DAT, RECORDS2.DAT
constexpr std::size_t kDiagRecordLength = 72;      // Diag.dat

// The whole records of one file, read in one piece.
class RecordSet {
 public:
  RecordSet() = default;
  RecordSet(std::string bytes, std::size_t length) : bytes_(std::move(bytes)), length_(length) {}

  std::size_t Count() const { return length_ == 0 ? 0 : bytes_.size() / length_; }
  // Record i, counting from 0; requires i < Count().
  std::string_view At(std::size_t i) const {
    return std::string_view(bytes_).substr(i * length_, length_);
  }

 private:
  std::string bytes_;
  std::size_t length_ = 1;
};

// Reads `name` as records of `length`; a missing file gives no records (and
// is not created). A removal of records from the file that is under way is
// waited for, and one cut short is finished first (the only case in which
// reading writes), so no half-done removal is ever read; when it cannot be
// finished the status says why.
Status ReadRecords(Folder& folder, std::string_view name, std::size_t length, RecordSet* records);
// The same, as the file's bytes.
Status ReadRecordBytes(Folder& folder, std::string_view name, std::string* bytes);

// The three changes below hold the folder's lock, after finishing a removal
// of the file that was cut short.
//
// Writes `record` as record count + 1 of `name` (created when missing): right
// after the whole records, so a stray partial record at the end is
// overwritten rather than shifting the new record out of place. The file is
// forced to disk. `record` must not be empty.
Status AppendRecord(Folder& folder, std::string_view name, std::string_view record);
// The same for several records at once (`records` whole ones of the file's
// length): all of them are added or, after any crash or failure, none.
Status AppendRecords(Folder& folder, std::string_view name, std::string_view records);

// Changes records of `name` in place: `change` sees each whole record in
// file order and returns true when it changed it, which is then written back
// where it stands; the file is forced to disk once at the end. A missing
// file has no records (and is created empty).
Status ChangeRecordsInPlace(Folder& folder, std::string_view name, std::size_t length,
                            const std::function<bool(std::string& record)>& change);

}  // namespace quillon

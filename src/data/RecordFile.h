// Fixed-length record files: no header, no separators, no line ends. Record n
// (from 1) is bytes (n-1)*L to n*L-1; the count is the file length divided by
// L, so a trailing partial record is never read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

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

}  // namespace quillon

// Text files of the program folder: the first line of a file, the
// comma-separated field stream of LESSONS.DAT, and lines ended by CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The first line of `contents` without its line end; nullopt when the file
// holds nothing at all.
std::optional<std::string> FirstLine(std::string_view contents);

// Reads a text as one stream of fields separated by commas or line ends
// (CR, LF or CR LF). A field enclosed in double quotes may hold commas and
// keeps its blanks; blanks around an unquoted field are dropped. A line end
// right after a comma or another line end adds no empty field.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}
  // The next field, or nullopt at the end of the text.
  std::optional<std::string> Next();
  // The line (from 1) on which the last field returned started.
  int line() const { return field_line_; }

 private:
  void SkipLineEnd();
  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int field_line_ = 1;
};

// The lines joined, each ended by carriage return and line feed.
std::string JoinCrlfLines(const std::vector<std::string>& lines);

}  // namespace quillon

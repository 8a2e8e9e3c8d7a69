// The outcome of a file operation: success, or what failed and on which file.
#pragma once

#include <string>
#include <utility>

namespace quillon {

class [[nodiscard]] Status {
 public:
  Status() = default;  // success
  static Status OK() { return Status(); }
  // A failure on `file` (a file name in the program folder, or a full path);
  // `what` says what went wrong in words a user can act on.
  static Status Error(std::string file, std::string what) {
    return Status(std::move(file), std::move(what));
  }

  bool ok() const { return !failed_; }
  const std::string& file() const { return file_; }
  const std::string& what() const { return what_; }
  // "<file>: <what>", or "OK".
  std::string ToString() const;

 private:
  Status(std::string file, std::string what)
      : failed_(true), file_(std::move(file)), what_(std::move(what)) {}
  bool failed_ = false;
  std::string file_;
  std::string what_;
};

}  // namespace quillon

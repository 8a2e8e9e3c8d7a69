// The outcome of a file operation: success, or what failed, on which file,
// and a code that callers decide by (the sentence is for the user).
#pragma once

#include <string>
#include <utility>

namespace quillon {

enum class StatusCode {
  kOk,
  kIO,          // the system refused a read, write or flush (permission, no space, ...)
  kBusy,        // another program holds the folder's lock, or a lesson kept writing: try again
  kDamaged,     // a file is not what it should be: restore it from a backup
  kDoesNotFit,  // a journal or entry belongs to another state of its file; nothing was applied
  kNotFound,    // no such entry, class or student
  kRefused,     // the request cannot be done as asked (a number taken, already restored, full)
  kTakenOver,   // this program's lock was taken over while it was stopped
};

class [[nodiscard]] Status {
 public:
  Status() = default;  // success
  static Status OK() { return Status(); }
  // A failure on `file` (a file name in the program folder, or a full path);
  // `what` says what went wrong in words a user can act on.
  static Status Error(std::string file, std::string what) {
    return Status(StatusCode::kIO, std::move(file), std::move(what));
  }
  static Status Error(StatusCode code, std::string file, std::string what) {
    return Status(code == StatusCode::kOk ? StatusCode::kIO : code, std::move(file),
                  std::move(what));
  }

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  const std::string& file() const { return file_; }
  const std::string& what() const { return what_; }
  // "<file>: <what>", or "OK".
  std::string ToString() const;
  // The same failure with `more` after its sentence ("; nothing was removed").
  Status With(const std::string& more) const { return Status(code_, file_, what_ + more); }

 private:
  Status(StatusCode code, std::string file, std::string what)
      : code_(code), file_(std::move(file)), what_(std::move(what)) {}
  StatusCode code_ = StatusCode::kOk;
  std::string file_;
  std::string what_;
};

}  // namespace quillon

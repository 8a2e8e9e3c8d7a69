// How a quillon-cli command ends early: an exit status with its one-line
// message on standard error, "quillon-cli: FILE: what is wrong". Shared by
// every command file.
#pragma once

#include <string>
#include <utility>

#include "base/Status.h"
#include "base/TextEncoding.h"

namespace quillon::cli {

// The exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitNothing = 1;      // nothing found, not confirmed
inline constexpr int kExitCommandLine = 2;  // a wrong command line or value
inline constexpr int kExitFiles = 3;        // the program folder, a data file
inline constexpr int kExitPassword = 4;     // no right administrator password

// A failure that ends the command with `status`. `message` is the
// terminal's text (it may quote what was typed), unless `stored_text` says
// it is file text, shown in the terminal's encoding when written. `file`,
// when set, is the file concerned, as the command line or the program names
// it (written as it is).
struct Exit {
  Exit(int status, std::string message, std::string file = "", bool stored_text = false)
      : status(status),
        message(std::move(message)),
        file(std::move(file)),
        stored_text(stored_text) {}
  int status;
  std::string message;
  std::string file;
  bool stored_text;
};

// A wrong command line: the message, then how to get the help of `command`
// (the program's when empty).
Exit CommandLineError(const std::string& message, const std::string& command);

// A data file or the program folder cannot be used: exit 3.
// A request the files refuse as asked (a number given to someone else, an
// entry restored already, a full class) ends with 1, nothing done; anything
// else that fails is the files': 3.
inline void Check(const Status& s) {
  if (s.ok()) return;
  const bool refused = s.code() == StatusCode::kRefused;
  throw Exit{refused ? kExitNothing : kExitFiles, s.what(), s.file(), true};
}

// The line standard error gets for `e`: "quillon-cli: FILE: message", on one
// line (line breaks in a message become blanks), ended by a line feed.
std::string ErrorLine(const Exit& e, const TextEncoding& encoding);

}  // namespace quillon::cli

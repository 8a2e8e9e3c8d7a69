// How a quillon-cli command ends early: an exit status with its message,
// "--help", and the one way both are written on standard error. Shared by
// every command file.
#pragma once

#include <ostream>
#include <string>

#include "base/Status.h"

namespace quillon::cli {

// A failure that ends the command with an exit status and a message (and
// the usage, when the command line itself is not understood).
struct Exit {
  int status;
  std::string message;
  bool usage = false;
};

// "--help" as the command or among a command's switches.
struct Help {};

// A data file or the program folder cannot be used: exit 3.
inline void Check(const Status& s) {
  if (!s.ok()) throw Exit{3, s.ToString()};
}

// Writes `e` (and the usage when it asks for it); its exit status.
inline int Fail(const Exit& e, std::ostream& err, const std::string& usage) {
  err << "quillon-cli: " << e.message << '\n';
  if (e.usage) err << usage;
  return e.status;
}

}  // namespace quillon::cli

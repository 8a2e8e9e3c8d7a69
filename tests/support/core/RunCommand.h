// Running a built program (quillon-cli, the sample folder maker) from a
// test: its exit status and exactly the bytes it wrote.
#pragma once

#include <ostream>
#include <string>

namespace quillon::testing {

struct CommandResult {
  int status = -1;
  std::string out, err;
  bool operator==(const CommandResult&) const = default;
};
std::ostream& operator<<(std::ostream& os, const CommandResult& r);

// Runs `command` (a program and its arguments, as the shell reads them) in
// `workdir` (empty: the tests' own). One that hangs ends after 20 s with
// status 124 instead of stopping the tests.
CommandResult RunCommand(const std::string& command, const std::string& workdir = "");

// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

}  // namespace quillon::testing

// Running a built program (quillon-cli, the sample folder maker) from a
// test: its exit status and exactly the bytes it wrote.
#pragma once

#include <ostream>
#include <string>
#include <vector>

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

// A program left running, as `quillon-cli watch` runs: its standard output
// read line by line as it writes, then interrupted as Ctrl-C would.
class RunningCommand {
 public:
  // Starts `program` with `args` (no shell); standard error goes to a file.
  RunningCommand(const std::string& program, const std::vector<std::string>& args);
  ~RunningCommand();
  RunningCommand(const RunningCommand&) = delete;
  RunningCommand& operator=(const RunningCommand&) = delete;

  // The next line of its output without its line feed, waiting for it up to
  // 20 seconds; "<none>" when none came (it ended, or hangs).
  std::string Line();
  // Sends SIGINT, and returns its exit status once it ended (-1 killed by
  // a signal, or still running after 20 seconds), and what it wrote on
  // standard error.
  int Interrupt(std::string* err = nullptr);

 private:
  int pid_ = -1;
  int out_ = -1;
  std::string err_path_;
  std::string pending_;  // read, not yet a whole line
};

// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

}  // namespace quillon::testing

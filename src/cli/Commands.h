// quillon-cli: reports, diagnostics, the export, record removal, the bin
// and roster imports without the windows, over the same core and with the
// same files written. The commands and their options are declared in
// CommandTable.cpp.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/TextEncoding.h"
#include "cli/AdminPassword.h"
#include "platform/Clock.h"
#include "platform/Folder.h"
#include "platform/Random.h"

namespace quillon::cli {
class WatchPacing;
}

namespace quillon {

// The program folder of a path (`--folder`): the folder, or null with
// `*problem` saying why the path is not one.
using FolderOpener =
    std::function<std::unique_ptr<Folder>(const std::string& path, std::string* problem)>;

// What quillon-cli runs with besides its command line.
struct CliEnvironment {
  Clock& clock;
  RandomSource& random;
  FolderOpener open;
  TextEncoding encoding;                // the terminal's, from the locale
  std::optional<std::string> password;  // QUILLON_PASSWORD
  cli::PasswordTerminal* terminal;      // null: there is none
  cli::WatchPacing* pacing = nullptr;   // how `watch` waits; null: it looks once
};

// Runs one command line (without the program name). Output goes to `out`
// with LF line ends, errors to `err` as one line "quillon-cli: FILE: what is
// wrong". Returns the exit status: 0 done, 1 nothing found or not
// confirmed, 2 a wrong command line or value, 3 a file problem (the program
// folder, a data file), 4 no right administrator password.
int RunCli(const std::vector<std::string>& args, const CliEnvironment& environment,
           std::ostream& out, std::ostream& err);

}  // namespace quillon

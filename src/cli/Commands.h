// quillon-cli: reports, diagnostics, the export and record removal without
// the windows, over the same core and with the same files written.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Folder.h"

namespace quillon {

// Runs one command line (without the program name). Output goes to `out`
// with LF line ends, errors to `err`. Returns the exit status: 0 done,
// 1 nothing found / not confirmed, 2 a wrong command line or value, 3 a
// file problem (the program folder, a data file).
int RunCli(const std::vector<std::string>& args, Clock& clock, std::ostream& out,
           std::ostream& err);

// The program folder of a path (`--folder`): the folder, or null with
// `*problem` saying why the path is not one.
using FolderOpener =
    std::function<std::unique_ptr<Folder>(const std::string& path, std::string* problem)>;

// RunCli on the folders `open` gives (the one above opens the real ones).
int RunCli(const std::vector<std::string>& args, Clock& clock, std::ostream& out,
           std::ostream& err, const FolderOpener& open);

}  // namespace quillon

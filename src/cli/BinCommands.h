// quillon-cli's bin of erased records: `bin` lists the entries, `bin
// --delete ID` and `bin --empty` remove them for good, `restore ID` puts
// one back, over the same core as the restore window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Folder.h"

namespace quillon {

// Each runs its command line `args` (the command first) on the program
// folder and returns the exit status: 0 done, 1 the bin is empty or the
// change was not confirmed (no --yes, or a number conflict without
// --renumber), 2 a wrong command line or an ID the bin does not hold (said
// with `usage` when the line itself is wrong), 3 a file that cannot be read
// or written. `--help` prints `usage` and returns 0.
int RunBinCommand(Folder& folder, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err, const std::string& usage);
int RunRestoreCommand(Folder& folder, const Date& today, const std::vector<std::string>& args,
                      std::ostream& out,
                      std::ostream& err, const std::string& usage);

}  // namespace quillon

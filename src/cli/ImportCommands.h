// quillon-cli's roster import and log-in slips: `import --class N
// [--name-column K [--first-column K]] [--password-column K] [--yes] FILE`
// and `slips --class N [--student N]`, over the same core as the classes
// window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/Folder.h"
#include "platform/Random.h"

namespace quillon {

// Each runs its command line `args` (the command first) on the program
// folder and returns the exit status: 0 done, 1 nobody to add or no
// student, 2 a wrong command line (said with `usage`), 3 a file that cannot
// be read or written. `--help` prints `usage` and returns 0.
int RunImportCommand(Folder& folder, RandomSource& random, const std::vector<std::string>& args,
                     std::ostream& out, std::ostream& err, const std::string& usage);
int RunSlipsCommand(Folder& folder, const std::vector<std::string>& args, std::ostream& out,
                    std::ostream& err, const std::string& usage);

}  // namespace quillon

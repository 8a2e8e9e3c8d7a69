// quillon-cli summary: the class summary as tab-separated lines, or as the
// CSV file's bytes.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/Folder.h"

namespace quillon {

// Runs "summary" with its options `args` (those after the command word).
// Returns 0 done, 1 the class has no students, 2 a wrong command line or
// date, 3 a file that cannot be read; messages go to `err`.
int RunSummaryCommand(Folder& folder, const std::vector<std::string>& args, std::ostream& out,
                      std::ostream& err);

}  // namespace quillon

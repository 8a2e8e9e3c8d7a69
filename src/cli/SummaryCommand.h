// quillon-cli summary: the class summary as tab-separated lines, as the CSV
// file's bytes, or as a JSON document.
#pragma once

#include "cli/CommandOptions.h"

namespace quillon::cli {

// Returns 0 done, 1 the class has no students; throws Exit for a wrong
// class (2) or a file that cannot be read (3). Writes no file.
int SummaryCommand(CommandContext& context, const SummaryOptions& o);

}  // namespace quillon::cli

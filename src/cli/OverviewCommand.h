// quillon-cli overview: the class overview of a diagnostic test (the
// problems missed, the skill areas' ratings and the lessons to reteach) as
// tab-separated lines, the CSV file's bytes or JSON.
#pragma once

#include "cli/CommandOptions.h"

namespace quillon::cli {

// Returns 0 done, 1 the class has no results of the test (within the
// range); throws Exit for a wrong class (2) or a file that cannot be read
// (3). Writes no file.
int OverviewCommand(CommandContext& context, const OverviewOptions& o);

}  // namespace quillon::cli

// Printing diagnostic reports: each result on two portrait pages.
#pragma once

#include <string>
#include <vector>

#include "gui/shell/Services.h"

namespace quillon {

// Prints the report of each record of `records` (72-character Diag.dat
// records, in the order given), every report from a new page: portrait,
// the report font at 11 points, then the end of the job. A printer that is
// off or out of paper is asked for as the records report asks; another
// fault is shown and the job abandoned. No records: an empty job, nothing
// printed.
void PrintDiagnostics(Services services, const std::vector<std::string>& records);

}  // namespace quillon

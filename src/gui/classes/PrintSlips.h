// Printing students' log-in slips through the printer seam (a PDF file when
// there is no printer): several slips to a page, with cut lines.
#pragma once

#include <string>
#include <vector>

#include "classes/LoginSlips.h"
#include "gui/shell/Services.h"

namespace quillon {

// Prints the slips of `slips` for class `class_name` in the fixed-pitch
// font. A printer that is off or out of paper is asked for (OK tries again,
// Cancel drops the job); any other fault is said and drops the job.
void PrintLoginSlips(Services services, const std::string& class_name,
                     const std::vector<LoginSlip>& slips);

}  // namespace quillon

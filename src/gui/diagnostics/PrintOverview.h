// Printing the class overview: its three tables on portrait pages in the
// fixed-pitch font, every page headed with the class, the test, the dates,
// the print date and the page number.
#pragma once

#include <string>

#include "diagnostics/ClassOverview.h"
#include "gui/shell/Services.h"

namespace quillon {

// Prints `overview` of the class `class_name`: a table that does not fit
// the rest of a page goes on under its headings on the next, and no row
// (a lesson with its students) is split between two pages. A printer that
// is off or out of paper is asked for as the records report asks; another
// fault is shown and the job abandoned.
void PrintOverview(Services services, const ClassOverview& overview, const std::string& class_name);

}  // namespace quillon

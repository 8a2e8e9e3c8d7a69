// The diagnostic report of one result, on screen and on paper, as lines of
// text; the windows and the printer only place these lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/DiagRecord.h"

namespace quillon {

// Lines 1 to N of the report of a scored result. `name` is the roster name
// field ("" when the student is no longer on the roster). `printing` adds the
// page label to line 1.
std::vector<std::string> BuildDiagnosticReport(const DiagnosticResult& result,
                                               std::string_view name, bool printing);

// The report of a record whose test code names no known test: the title
// "Diagnostic Test Results", the student and date lines as in a report, and
// a line that names the code and says the test is not known. The same on
// screen and on paper (one page).
std::vector<std::string> BuildUnknownTestReport(std::string_view record, std::string_view name);

// The four lines between two reports on screen.
std::vector<std::string> ReportSeparator();

// The screen lines of one record (scored, or the unknown-test report).
std::vector<std::string> DiagnosticReportLines(std::string_view record, std::string_view name);

// The printed pages of one record: a known test gives two pages (page 1 the
// heading, answers, totals and skill-area analysis; page 2 the title with
// "Page 2 of 2", the heading lines again and the plan of study), an unknown
// test one page.
std::vector<std::vector<std::string>> DiagnosticReportPages(std::string_view record,
                                                            std::string_view name);

}  // namespace quillon

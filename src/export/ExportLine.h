// The layout of an export line, and the line as the export file holds it.
//
// Export line (107 characters, each field FixWidth to its width):
//   1-25   class name       26-46  student name     47-54  course title
//   55-62  date mm/dd/yy    63-98  activity label   99-101 attempted
//   102-104 correct         105-107 minutes
// In the file each field is trimmed and the eight are joined by tabs, each
// line ended by CR LF; no heading line.
#pragma once

#include <string>
#include <string_view>

#include "export/ExportLookups.h"
#include "records/RecordLine.h"

namespace quillon {

// The 107-character line of a record. The activity label is that of the
// records display: a "C" test is classified first, so a lesson test carries
// its lesson's title and a unit test "Unit Test: " and the unit's name
// (the stored numbers with their offsets are outside the tables).
std::string ComposeExportLine(const TitleTables& tables, const ExportLookups& lookups,
                              std::string_view record);

// Appends the file's form of `line`: its eight fields trimmed and joined by
// tabs, ended by CR LF.
void AppendExportFileLine(std::string_view line, std::string& out);

}  // namespace quillon

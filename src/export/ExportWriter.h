// The export of all activity records to a tab-separated text file, in one of
// five sort orders, and the choice of the export file's name.
//
// Export line (107 characters, each field FixWidth to its width):
//   1-25   class name       26-46  student name     47-54  course title
//   55-62  date mm/dd/yy    63-98  activity label   99-101 attempted
//   102-104 correct         105-107 minutes
// In the file each field is trimmed and the eight are joined by tabs, each
// line ended by CR LF; no heading line.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/Folder.h"
#include "records/RecordLine.h"

namespace quillon {

// CLASSES.DAT and STUDENTS.DAT read once per export, with the first record of
// each class number and of each (class, student) pair indexed.
struct ExportLookups {
  std::map<int, std::string> class_names;                    // trimmed first 25
  std::map<std::pair<int, int>, std::string> student_names;  // trimmed first 21
};
Status LoadExportLookups(Folder& folder, ExportLookups* lookups);

// The names of an ActivityRecord's class and student; "" when not on file.
const std::string& ExportClassName(const ExportLookups& lookups, std::string_view record);
const std::string& ExportStudentName(const ExportLookups& lookups, std::string_view record);

// The 107-character line of a record. The activity label is that of the
// records display: a "C" test is classified first, so a lesson test carries
// its lesson's title and a unit test "Unit Test: " and the unit's name
// (the stored numbers with their offsets are outside the tables).
std::string ComposeExportLine(const TitleTables& tables, const ExportLookups& lookups,
                              std::string_view record);

// The date of positions 55-62 as yyyymmdd. Two-digit years 00-29 are 2000-
// 2029 and 30-99 are 1930-1999; a text that is not a valid date (or a line
// too short to hold one) gives "00000000", so such lines sort first.
std::string ExportDateKey(std::string_view line);

// The sort key of a line for `order` 1-5 (any other order: order 1); the
// parts a short line lacks are empty.
std::string ExportSortKey(std::string_view line, int order);

// Sorts the lines by ExportSortKey exactly as the export's recursive
// quicksort would (middle pivot, exchanges while i <= j); lines with equal
// keys come out in the order that procedure leaves them. When no two
// different lines share a key the order is found by an n log n sort; the
// procedure itself runs otherwise, on whole-number ranks of the keys and
// with its stack bounded (the smaller part first, the larger one in a loop).
void QuickSortLines(std::vector<std::string>& lines, int order);

// "yymmdd" of a record's date (characters 11-12, then 7-10).
std::string RecordYymmdd(std::string_view record);

// Parses a cutoff typed as month/day/year (m/d/yy, mm/dd/yy or with a
// four-digit year) into "yymmdd"; nullopt when it is not a date.
std::optional<std::string> ParseCutoffDate(std::string_view text);

// How many records of RECORDS.DAT an export with `cutoff` would write.
Status CountExportRecords(Folder& folder, const std::optional<std::string>& cutoff,
                          std::size_t* count);

// Writes every record of RECORDS.DAT dated on or after `cutoff` (yymmdd; a
// plain text comparison, so within one century), sorted in `order`, to a new
// file of the program folder named `*file_name`. The lines go to a
// temporary file first (`*file_name` + ".part"), which then takes the name
// only if no file has it meanwhile; if one has, the next free name of the
// day is taken (`*file_name` tells which). No file is ever overwritten, and
// on any failure nothing is left under either name. `*written` receives the
// number of lines.
Status WriteExport(Folder& folder, Clock& clock, const TitleTables& tables,
                   const std::optional<std::string>& cutoff, int order, std::string* file_name,
                   std::size_t* written);

// "Records" + mmddyy + "-" + nn + ".txt" for the first nn of 01-20 with no
// such file; "Error" when all twenty are taken.
std::string MakeOutputFileName(Folder& folder, Clock& clock);

}  // namespace quillon

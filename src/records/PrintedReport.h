// The text of the printed records report, apart from the printer: its heading
// lines and its record lines in the printed order. The printing routine puts
// these on pages; the command-line companion prints them as they are.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Folder.h"
#include "records/DisplayBuilder.h"

namespace quillon {

// The five heading lines repeated at the top of every page: the title line
// (heading name trimmed, passing grade, data group), an empty line and the
// three lines of column headings.
std::vector<std::string> RecordsReportHeadings(std::string_view heading_name, double passing_grade,
                                               DataGroup data_group);

// The report's records: the working lists rebuilt, the data group written to
// RECORDS2.DAT, the records of that class and student selected and sorted by
// the RecordLine itself in `sort_direction` (student name, date, course,
// unit, lesson, counts). `heading_name` is "All Students" for kAllStudents,
// else the roster name field ("" when not on the roster).
struct RecordsReport {
  std::string heading_name;
  WorkingLists lists;     // what `lines` refers to
  RecordSelection lines;  // sorted
};
Status BuildRecordsReport(Folder& folder, int classnum, int studentnum, DataGroup data_group,
                          SortDirection sort_direction, RecordsReport* report);

// The printed line of each record, FormatPrintLine, preceded by a line
// holding one blank wherever the student (the first 16 characters) changes.
// Calls `line` once per printed line, in order.
void ForEachReportLine(const TitleTables& tables, const RecordSelection& lines,
                       double passing_grade, const std::function<void(const std::string&)>& line);

// All those lines at once.
std::vector<std::string> RecordsReportBody(const TitleTables& tables, const RecordSelection& lines,
                                           double passing_grade);

}  // namespace quillon

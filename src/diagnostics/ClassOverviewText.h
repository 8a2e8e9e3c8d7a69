// The class overview as text: one set of cells for the window, the command
// line (tab-separated and JSON), the CSV file and the printed pages, so that
// all of them agree.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "diagnostics/ClassOverview.h"

namespace quillon {

// One table of the overview: its title, its column headings, which columns
// hold numbers, and the cells of each row. A table is empty when no result
// was counted.
struct OverviewTable {
  std::string title;
  std::vector<std::string> headings;
  std::vector<bool> numeric;
  std::vector<std::vector<std::string>> rows;
};
enum OverviewTableKind { kProblemsTable, kAreasTable, kReteachTable };
// Problems: Problem, Area, Wrong, Of, Wrong %, Lesson, Lesson title.
// Skill Areas: Area, Skill area, Problems, Poor, Fair, Good, Mean correct.
// Lessons to Reteach: Lesson, Lesson title, Unit, Students, Of, Names (the
// students' roster names, "; " between two).
std::array<OverviewTable, 3> OverviewTables(const ClassOverview& overview);

// "Pre-Algebra (C1)".
std::string OverviewTestName(const ClassOverview& overview);
// "5 results of 4 students, the latest result of each" (or ", all results").
std::string OverviewCounts(const ClassOverview& overview);
// What was left out of the overview and why ("Left out: 1 result not scored
// (test code not known), 2 results without a date"), or "" when nothing was.
std::string OverviewLeftOut(const ClassOverview& overview);
// The heading line: class, test, dates, counts and what was left out.
std::string OverviewHeading(const ClassOverview& overview, const std::string& class_name);

// The heading line, then each table after an empty line: its title line,
// its headings and its rows, cells separated by tabs; each line ends in
// "\n". Single-byte text, as the files hold it.
std::string OverviewTabLines(const ClassOverview& overview, const std::string& class_name);

// The CSV file: a UTF-8 byte-order mark, then sections separated by an
// empty line, each a title row and a heading row before its rows: the
// overview's own figures (class, test, counts, dates as yyyy-mm-dd), then
// the three tables. Comma-separated, CRLF line ends, numbers plain.
std::string OverviewCsv(const ClassOverview& overview, const std::string& class_name);

// The overview as one JSON object (ASCII: other characters as \u escapes).
std::string OverviewJson(const ClassOverview& overview, const std::string& class_name);

// The heading lines of a printed page (class, test, page; dates and print
// date; counts; what was left out, when anything was; an empty line).
std::vector<std::string> OverviewPageHeadings(const ClassOverview& overview,
                                              const std::string& class_name, int printed_on,
                                              int page);
// A table as printed in the fixed-pitch font: its heading lines (title,
// column headings, rule), and its rows, each row the lines to keep together
// on a page; the problems most missed are marked "*", explained in a last
// row.
struct PrintedTable {
  std::vector<std::string> headings;
  std::vector<std::vector<std::string>> rows;
};
std::array<PrintedTable, 3> OverviewPrintedTables(const ClassOverview& overview);

}  // namespace quillon

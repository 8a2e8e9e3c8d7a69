// The class summary as text: the cells of a row, the command-line lines
// (tab-separated), the spreadsheet file (CSV) and the printed pages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/Summary.h"

namespace quillon {

enum class DateStyle { kSlashes, kIso };  // mm/dd/yy, yyyy-mm-dd

// The lessons and units a row needs help in, one text each, as the
// records display names them: "Fractions (40% on 01/05/00)".
std::vector<std::string> NeedsHelpTopics(const TitleTables& tables,
                                         const std::vector<std::string>& help_lines,
                                         double passing_grade);

// The text of a cell: numbers plain, no "%", empty cells "".
std::string SummaryCell(const SummaryRow& row, int column, DateStyle dates);

// The heading line and one line per row, cells separated by tabs, dates
// mm/dd/yy; each ends in "\n".
std::string SummaryTabLines(const std::vector<SummaryRow>& rows);

// A text cell of a CSV file: the single-byte (Latin-1) text in UTF-8,
// quoted when it holds a comma, a quote or a line break, and after an
// apostrophe when a spreadsheet would take it for a formula (it begins
// with = + - @, a tab or a carriage return).
std::string CsvText(std::string_view bytes);

// The CSV file: a UTF-8 byte-order mark, the heading row, one row per
// student; comma-separated, CRLF line ends, numbers plain, dates
// yyyy-mm-dd. Names (single-byte, Latin-1) are written in UTF-8, quoted when
// they hold a comma, a quote or a line break, and a name that a spreadsheet
// would take for a formula (beginning with = + - @) is written after an
// apostrophe so that it stays text.
std::string SummaryCsv(const std::vector<SummaryRow>& rows);

// "all dates", "from mm/dd/yy", "to mm/dd/yy" or "mm/dd/yy to mm/dd/yy".
std::string RangeText(const SummaryRange& range);

// The heading lines of each printed page: two title lines (the class name
// and passing grade; the range, the print date and the page number), an
// empty line, the column headings and their rule.
std::vector<std::string> SummaryPageHeadings(const std::string& class_name, double passing_grade,
                                             const SummaryRange& range, int printed_on, int page);
// The name the CSV file is offered under: "Class summary - Geometry B -
// 2026-09-01 to 2026-12-31.csv" ("from ...", "to ...", "all dates"), with
// the characters no file name takes ("/", ":", ...) written as "-".
std::string SummaryCsvName(const std::string& class_name, const SummaryRange& range);

// A row as printed under those headings, in the fixed-pitch font.
std::string SummaryPrintedRow(const SummaryRow& row);

}  // namespace quillon

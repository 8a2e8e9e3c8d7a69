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
#include <utility>
#include <vector>

#include "base/KeyIds.h"

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

// The file's lines of many records, as ComposeExportLine and
// AppendExportFileLine make them together, each field's text found once
// per distinct record bytes it comes from (a few hundred class and student
// names, labels and counts among millions of records).
class ExportFileLines {
 public:
  ExportFileLines(const TitleTables& tables, const ExportLookups& lookups)
      : tables_(tables), lookups_(lookups) {}
  // The longest line: every field full, the tabs and CR LF.
  static constexpr std::size_t kLongest = 25 + 21 + 8 + 8 + 36 + 3 * 3 + 7 + 2;
  void Append(std::string_view record, std::string& out);
  // Writes the line of `record` at `out`, which has room for kLongest
  // characters; returns the place after it.
  char* Put(std::string_view record, char* out);

 private:
  // Texts found by record bytes, each held as a place and length in
  // `pool_`; a key may have two (held side by side).
  struct Texts {
    KeyIds ids;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> places;
  };
  template <typename Find>
  std::uint32_t Look(Texts& texts, std::uint64_t bytes, const Find& find);

  const TitleTables& tables_;
  const ExportLookups& lookups_;
  // class and student (with the tab between and after them); course and
  // label (each with the tab after it); a count (attempted, correct or
  // minutes)
  Texts names_, lesson_, counts_;
  std::string pool_;
  std::string line_;  // a line composed to find a field's text
};

}  // namespace quillon

// The records display builder: from RECORDS.DAT to the sorted, formatted
// lines of one class (all students) or one student, for the chosen data
// group, sort key and direction. The windows apply the result; the printed
// report and the command-line companion share the same steps.
#pragma once

#include <string>
#include <vector>

#include "platform/Folder.h"
#include "records/RecordLine.h"
#include "shell/SharedValues.h"

namespace quillon {

inline constexpr char kWorkingFile[] = "RECORDS2.DAT";

// A list of items of one fixed width, held end to end in one text: 32,767
// records cost one allocation, and the list is RECORDS2.DAT's bytes as it is.
class FixedList {
 public:
  explicit FixedList(std::size_t width) : width_(width) {}
  std::size_t size() const { return bytes_.size() / width_; }
  bool empty() const { return bytes_.empty(); }
  // Item i, from 0; requires i < size().
  std::string_view operator[](std::size_t i) const {
    return std::string_view(bytes_).substr(i * width_, width_);
  }
  // Appends `item`, blank-padded or cut to the list's width.
  void push_back(std::string_view item);
  void reserve(std::size_t items) { bytes_.reserve(items * width_); }
  const std::string& bytes() const { return bytes_; }
  std::vector<std::string> ToVector() const;

 private:
  std::size_t width_;
  std::string bytes_;
};

// The four working lists; they live as long as the student records window
// and survive between runs, so a re-run with ReuseWorkingLists skips the
// rebuild.
struct WorkingLists {
  FixedList lstRecords1{25};  // every record, file order, code normalised
  FixedList lstRecords2{25};  // the tests among them, file order
  FixedList lstSorted{45};    // 15-char key, 5 blanks, record; ascending
  FixedList lstRecords3{25};  // the most recent test of each group
};

// Rebuilds the working lists from RECORDS.DAT (created empty if missing).
// The most recent test of a group (course, class, student, unit field and
// lesson field, offsets included) is the one standing last in the file; the
// dates play no part. lstRecords3 holds the groups in descending key order.
Status BuildWorkingLists(Folder& folder, WorkingLists* lists);

// Rewrites RECORDS2.DAT with the list of `data_group` (1, 2 or 3).
Status WriteWorkingFile(Folder& folder, const WorkingLists& lists, int data_group);

// The sort key of the `seq`-th selected line (seq from 1) for `sort_by`:
//   0 Name     name, yymmdd, seq
//   1 Percent  percent as "000" (three blanks when nothing is correct), then
//              name, yymmdd, seq. When something is correct but nothing was
//              attempted the line shows 100 percent, and so does the key.
//   2 Date     yymmdd, name, seq
//   3 Lesson   the activity label, name, yymmdd, seq
// seq has at least four digits, so every key is unique.
std::string DisplaySortKey(const TitleTables& tables, std::string_view line, int sort_by, int seq);
// DisplaySortKey into `key`, reusing its storage.
void DisplaySortKeyInto(const TitleTables& tables, std::string_view line, int sort_by, int seq,
                        std::string* key);

// What one run of the builder gives the windows.
struct DisplayRun {
  std::vector<std::string> lines;  // FormatRecordLine of each sorted line
  bool one_student = false;        // one student shown: the Name sort gives way to Date
};

// A run of the display builder. classnum -99 means the class and student of
// the last run; studentnum -1 means all students of the class (classnum -1
// all classes). Reads DataGroup, SortBy, SortDirection, ReuseWorkingLists and
// PassingGrade of `values`; sets RecordLines, SortKeys, RecordsFound,
// LastDisplayClass and LastDisplayStudent. No record selected: RecordsFound
// is 0 and `run->lines` is empty (the window then says "No records found.").
Status DisplayNew(Folder& folder, SharedValues& values, WorkingLists& lists, int classnum,
                  int studentnum, DisplayRun* run);

// Steps shared with the printed report: reads RECORDS2.DAT back and composes
// the RecordLine of every record of that class and student, in file order,
// with names from STUDENTS.DAT read once. `lines` is refilled in place, so
// the texts of a previous run lend their storage.
Status SelectRecordLines(Folder& folder, int classnum, int studentnum,
                         std::vector<std::string>* lines);

}  // namespace quillon

// The records display builder: from RECORDS.DAT to the sorted lines of one
// class (all students) or one student, for the chosen data group, sort key
// and direction. The windows and the command-line companion fill the request
// from their own state; the printed report shares the first steps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/ClassFiles.h"
#include "platform/Folder.h"
#include "records/DisplayOptions.h"
#include "records/RecordLine.h"

namespace quillon {

inline constexpr char kWorkingFile[] = "RECORDS2.DAT";

// A list of 25-character activity records: every record of a text held end
// to end, or those picked out by an index. It refers to the working lists
// it came from and is valid until they are rebuilt.
class RecordList {
 public:
  RecordList() = default;
  RecordList(const std::string* bytes, const std::vector<std::uint32_t>* index)
      : bytes_(bytes), index_(index) {}
  std::size_t size() const;
  // Record i, from 0; requires i < size().
  std::string_view operator[](std::size_t i) const;
  // The records end to end (RECORDS2.DAT's bytes for this list): a view of
  // the held text for a list of every record, else put together in
  // `scratch`.
  std::string_view Bytes(std::string* scratch) const;

 private:
  const std::string* bytes_ = nullptr;
  const std::vector<std::uint32_t>* index_ = nullptr;  // null: every record
};

// The working lists of the builder. They live as long as the student records
// window and survive between runs, so a re-run that reuses them skips the
// rebuild. The records are held once; the other lists are indexes into them.
class WorkingLists {
 public:
  WorkingLists() = default;
  WorkingLists(const WorkingLists&) = delete;
  WorkingLists& operator=(const WorkingLists&) = delete;

  // Rebuilds every list from RECORDS.DAT (a missing file gives none).
  Status Build(Folder& folder);

  // Every record in file order, course code normalised.
  RecordList lstRecords1() const { return {&records_, nullptr}; }
  // The tests among them, in file order.
  RecordList lstRecords2() const { return {&records_, &tests_}; }
  // The most recent test of each course, class, student, unit field and
  // lesson field (offsets included): the one standing last in the file, the
  // dates playing no part; groups in descending key order.
  RecordList lstRecords3() const { return {&records_, &recent_}; }
  // The list of a data group.
  RecordList Group(DataGroup data_group) const;

 private:
  std::string records_;
  std::vector<std::uint32_t> tests_;   // indexes into records_
  std::vector<std::uint32_t> recent_;  // indexes into records_
};

// Rewrites RECORDS2.DAT with the list of `data_group`.
Status WriteWorkingFile(Folder& folder, const WorkingLists& lists, DataGroup data_group);

// The records of one class and student picked out of a data group's list,
// each shown as its RecordLine, in the order of the last sort.
class RecordSelection {
 public:
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  // The 43-character RecordLine of line i, from 0.
  std::string RecordLine(std::size_t i) const;
  // The running number (from 1) of line i in the order it was selected in.
  std::size_t Seq(std::size_t i) const { return entries_[i].seq; }
  // The 21-character name field of line i (blanks for a student not on the
  // roster).
  const std::string& NameOf(std::size_t i) const;

 private:
  friend Status SelectRecords(Folder&, const RecordList&, int, int, RecordSelection*);
  friend void SortSelection(const TitleTables&, SortBy, SortDirection, RecordSelection*);
  friend void SortSelectionByLine(SortDirection, RecordSelection*);
  struct Entry {
    std::uint32_t record;  // index into records_
    std::uint32_t seq;
  };
  RecordList records_;
  Roster roster_;
  std::vector<Entry> entries_;
};

// Every record of `records` of class `classnum` (kAllClasses: every class)
// and student `studentnum` (kAllStudents: every student), in list order, with
// the students' names from STUDENTS.DAT.
Status SelectRecords(Folder& folder, const RecordList& records, int classnum, int studentnum,
                     RecordSelection* selection);

// The sort key of the `seq`-th selected line (seq from 1) for `sort_by`:
//   Name     name, yymmdd, seq
//   Percent  percent as "000" (three blanks when nothing is correct), then
//            name, yymmdd, seq. When something is correct but nothing was
//            attempted the line shows 100 percent, and so does the key.
//   Date     yymmdd, name, seq
//   Lesson   the activity label, name, yymmdd, seq
// seq has at least four digits, so every key is unique.
std::string DisplaySortKey(const TitleTables& tables, std::string_view line, SortBy sort_by,
                           int seq);

// Sorts the selection by DisplaySortKey in `direction`, exactly as the
// parallel-list sort orders keys and lines.
void SortSelection(const TitleTables& tables, SortBy sort_by, SortDirection direction,
                   RecordSelection* selection);
// Sorts it by the RecordLine itself (the printed report's order).
void SortSelectionByLine(SortDirection direction, RecordSelection* selection);

// What a run of the builder is asked for.
struct DisplayRequest {
  int classnum = kAllClasses;
  int studentnum = kAllStudents;  // or one student of the class
  DataGroup data_group = DataGroup::kAllRecords;
  SortBy sort_by = SortBy::kName;
  SortDirection sort_direction = SortDirection::kIncreasing;
  bool reuse_working_lists = false;  // re-runs from the display window
};

// What a run gives: the sorted lines; one student shown when the request
// named one (the Name sort then gives way to Date in the window).
struct DisplayResult {
  RecordSelection lines;
  bool one_student = false;
};

// A run of the display builder: rebuilds the working lists unless the
// request reuses them, writes the data group's list to RECORDS2.DAT, selects
// and sorts that class's and student's records. No record selected: the
// result is empty (the window then says "No records found.").
Status DisplayNew(Folder& folder, const TitleTables& tables, const DisplayRequest& request,
                  WorkingLists& lists, DisplayResult* result);

}  // namespace quillon

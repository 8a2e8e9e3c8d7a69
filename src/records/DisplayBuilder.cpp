#include "records/DisplayBuilder.h"

#include <algorithm>
#include <cmath>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/RecordFile.h"
#include "records/RecordLine.h"
#include "shell/Text.h"

namespace quillon {

void FixedList::push_back(std::string_view item) {
  bytes_.append(item.substr(0, width_));
  if (item.size() < width_) bytes_.append(width_ - item.size(), ' ');
}

std::vector<std::string> FixedList::ToVector() const {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
  return out;
}

Status BuildWorkingLists(Folder& folder, WorkingLists* lists) {
  *lists = WorkingLists();
  RecordSet records;
  Status s = ReadRecords(folder, kRecordsFile, kActivityRecordLength, &records);
  if (!s.ok()) return s;
  lists->lstRecords1.reserve(records.Count());
  std::string r;
  for (std::size_t i = 0; i < records.Count(); ++i) {
    r.assign(records.At(i));
    r.replace(0, 2, NormalizeCourseCode(r.substr(0, 2)));
    lists->lstRecords1.push_back(r);
    if (ClassifyActivity(r).is_test) lists->lstRecords2.push_back(r);
  }
  // lstSorted: the key of test i (course, class, student, unit and lesson
  // fields, then i as "00000"), 5 blanks and the record; in ascending order.
  const FixedList& tests = lists->lstRecords2;
  std::vector<std::string> items;
  items.reserve(tests.size());
  for (std::size_t i = 0; i < tests.size(); ++i) {
    std::string_view t = tests[i];
    std::string item;
    item.reserve(45);
    item.append(t.substr(0, 6)).append(t.substr(12, 4));
    item += ZeroPad(static_cast<long long>(i + 1), 5);
    item.append(5, ' ').append(t);
    items.push_back(std::move(item));
  }
  std::sort(items.begin(), items.end());
  lists->lstSorted.reserve(items.size());
  for (const std::string& item : items) lists->lstSorted.push_back(item);
  // The last item of each group of equal first 10 characters, walking down.
  std::string_view prev;
  for (std::size_t n = lists->lstSorted.size(); n-- > 0;) {
    std::string_view item = lists->lstSorted[n];
    if (item.substr(0, 10) != prev) {
      lists->lstRecords3.push_back(item.substr(20));
      prev = item.substr(0, 10);
    }
  }
  return Status::OK();
}

Status WriteWorkingFile(Folder& folder, const WorkingLists& lists, int data_group) {
  const FixedList& list = data_group == 2   ? lists.lstRecords2
                          : data_group == 3 ? lists.lstRecords3
                                            : lists.lstRecords1;
  return folder.WriteFile(kWorkingFile, list.bytes());
}

std::string DisplaySortKey(const TitleTables& tables, std::string_view line, int sort_by, int seq) {
  std::string key;
  DisplaySortKeyInto(tables, line, sort_by, seq, &key);
  return key;
}

void DisplaySortKeyInto(const TitleTables& tables, std::string_view line, int sort_by, int seq,
                        std::string* out) {
  const std::string_view name = line.substr(0, 21);
  const std::string_view yymmdd = line.substr(21, 6);
  std::string& key = *out;
  key.clear();
  key.reserve(64);
  switch (sort_by) {
    case 1: {
      double correct = Val(line.substr(36, 3));
      double attempted = Val(line.substr(33, 3));
      if (correct == 0) {
        key = "   ";
      } else if (attempted == 0) {
        key = "100";
      } else {
        key = ZeroPad(static_cast<long long>(std::floor(100.0 * correct / attempted + 0.5)), 3);
      }
      key.append(name).append(yymmdd);
      break;
    }
    case 2:
      key.append(yymmdd).append(name);
      break;
    case 3:
      key = ActivityLabel(tables.catalogue, tables.unit_names, line.substr(27, 2),
                          line.substr(29, 2), line.substr(31, 2), line[42]);
      key.append(name).append(yymmdd);
      break;
    default:
      key.append(name).append(yymmdd);
      break;
  }
  key += ZeroPad(seq, 4);
}

Status SelectRecordLines(Folder& folder, int classnum, int studentnum,
                         std::vector<std::string>* lines) {
  std::size_t count = 0;
  RecordSet selected;
  Status s = ReadRecords(folder, kWorkingFile, kActivityRecordLength, &selected);
  Roster roster;
  if (s.ok()) s = roster.Load(folder);
  if (!s.ok()) {
    lines->clear();
    return s;
  }
  for (std::size_t i = 0; i < selected.Count(); ++i) {
    std::string_view r = selected.At(i);
    int cls = ValInt(r.substr(2, 2));
    int stu = ValInt(r.substr(4, 2));
    if ((studentnum != -1 && stu != studentnum) || (classnum != -1 && cls != classnum)) continue;
    if (count == lines->size()) lines->emplace_back();
    ComposeRecordLineInto(r, roster.Name(cls, stu), &(*lines)[count++]);
  }
  lines->resize(count);
  return Status::OK();
}

Status DisplayNew(Folder& folder, SharedValues& values, WorkingLists& lists, int classnum,
                  int studentnum, DisplayRun* run) {
  // The lines of the previous run keep their storage for this one.
  run->one_student = false;
  if (classnum == -99) {
    classnum = values.LastDisplayClass;
    studentnum = values.LastDisplayStudent;
  }
  values.LastDisplayClass = classnum;
  values.LastDisplayStudent = studentnum;
  values.RecordsFound = 0;

  Status s;
  if (!values.ReuseWorkingLists) s = BuildWorkingLists(folder, &lists);
  if (s.ok()) s = WriteWorkingFile(folder, lists, values.DataGroup);
  if (s.ok()) s = SelectRecordLines(folder, classnum, studentnum, &values.RecordLines);
  if (!s.ok()) {
    values.RecordLines.clear();
    values.SortKeys.clear();
    run->lines.clear();
    return s;
  }

  const TitleTables tables{values.Catalogue, values.UnitTestNames};
  const std::size_t count = values.RecordLines.size();
  values.SortKeys.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    DisplaySortKeyInto(tables, values.RecordLines[i], values.SortBy, static_cast<int>(i + 1),
                       &values.SortKeys[i]);
  }
  values.RecordsFound = static_cast<int>(count);
  if (count == 0) {
    run->lines.clear();
    return Status::OK();
  }

  SortParallelLists(values.SortKeys, values.RecordLines, values.SortDirection, count);
  run->one_student = studentnum != -1;
  run->lines.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    FormatRecordLineInto(tables, values.RecordLines[i], values.PassingGrade, &run->lines[i]);
  }
  return Status::OK();
}

}  // namespace quillon

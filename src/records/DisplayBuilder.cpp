#include "records/DisplayBuilder.h"

#include <algorithm>
#include <numeric>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/RecordFile.h"

namespace quillon {
namespace {

constexpr std::size_t kLength = kActivityRecordLength;

// The first 10 characters of a test's lstSorted key: course, class, student,
// unit and lesson fields.
std::string_view GroupKey(std::string_view test) { return test.substr(0, 6); }
std::string_view UnitLessonFields(std::string_view test) { return test.substr(12, 4); }

}  // namespace

std::size_t RecordList::size() const {
  if (bytes_ == nullptr) return 0;
  return index_ != nullptr ? index_->size() : bytes_->size() / kLength;
}

std::string_view RecordList::operator[](std::size_t i) const {
  const std::size_t at = index_ != nullptr ? (*index_)[i] : i;
  return std::string_view(*bytes_).substr(at * kLength, kLength);
}

std::string RecordList::Bytes() const {
  if (bytes_ == nullptr) return std::string();
  if (index_ == nullptr) return *bytes_;
  std::string out;
  out.reserve(size() * kLength);
  for (std::size_t i = 0; i < size(); ++i) out.append((*this)[i]);
  return out;
}

Status WorkingLists::Build(Folder& folder) {
  records_.clear();
  tests_.clear();
  sorted_.clear();
  recent_.clear();
  Status s = folder.ReadFile(kRecordsFile, &records_);
  if (!s.ok()) {
    records_.clear();
    return s;
  }
  records_.resize(records_.size() / kLength * kLength);  // a trailing partial record is not read
  const std::size_t count = records_.size() / kLength;
  for (std::size_t i = 0; i < count; ++i) {
    char* r = records_.data() + i * kLength;
    const std::string code = NormalizeCourseCode(std::string_view(r, 2));
    r[0] = code[0];
    r[1] = code[1];
    if (ClassifyActivity(std::string_view(r, kLength)).is_test) {
      tests_.push_back(static_cast<std::uint32_t>(i));
    }
  }
  // lstSorted orders the tests by key; its keys end in the test's place, so
  // equal groups keep their file order.
  sorted_.resize(tests_.size());
  std::iota(sorted_.begin(), sorted_.end(), 0u);
  const RecordList tests = lstRecords2();
  std::stable_sort(sorted_.begin(), sorted_.end(), [&](std::uint32_t a, std::uint32_t b) {
    const std::string_view ta = tests[a], tb = tests[b];
    if (int c = GroupKey(ta).compare(GroupKey(tb)); c != 0) return c < 0;
    return UnitLessonFields(ta) < UnitLessonFields(tb);
  });
  // Walking lstSorted down, the first item of each group is its last test.
  for (std::size_t n = sorted_.size(); n-- > 0;) {
    const std::string_view t = tests[sorted_[n]];
    if (n + 1 < sorted_.size()) {
      const std::string_view above = tests[sorted_[n + 1]];
      if (GroupKey(t) == GroupKey(above) && UnitLessonFields(t) == UnitLessonFields(above)) {
        continue;
      }
    }
    recent_.push_back(tests_[sorted_[n]]);
  }
  return Status::OK();
}

RecordList WorkingLists::Group(int data_group) const {
  if (data_group == 2) return lstRecords2();
  if (data_group == 3) return lstRecords3();
  return lstRecords1();
}

std::string WorkingLists::SortedItem(std::size_t k) const {
  const std::string_view t = lstRecords2()[sorted_[k]];
  std::string item(GroupKey(t));
  item.append(UnitLessonFields(t));
  item += ZeroPad(static_cast<long long>(sorted_[k]) + 1, 5);
  item.append(5, ' ').append(t);
  return item;
}

Status WriteWorkingFile(Folder& folder, const WorkingLists& lists, int data_group) {
  return folder.WriteFile(kWorkingFile, lists.Group(data_group).Bytes());
}

std::string RecordSelection::RecordLine(std::size_t i) const {
  const std::string_view r = records_[entries_[i].record];
  return ComposeRecordLine(r, roster_.Name(ActivityClassNumber(r), ActivityStudentNumber(r)));
}

Status SelectRecords(Folder& folder, const RecordList& records, int classnum, int studentnum,
                     RecordSelection* selection) {
  selection->records_ = records;
  selection->entries_.clear();
  Status s = selection->roster_.Load(folder);
  if (!s.ok()) return s;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string_view r = records[i];
    if (studentnum != -1 && ActivityStudentNumber(r) != studentnum) continue;
    if (classnum != -1 && ActivityClassNumber(r) != classnum) continue;
    const auto seq = static_cast<std::uint32_t>(selection->entries_.size() + 1);
    selection->entries_.push_back({static_cast<std::uint32_t>(i), seq});
  }
  return Status::OK();
}

std::string DisplaySortKey(const TitleTables& tables, std::string_view line, int sort_by, int seq) {
  const std::string padded = FixWidth(line, 43);
  line = padded;
  const std::string_view name = line.substr(0, 21);
  const std::string_view yymmdd = line.substr(21, 6);
  std::string key;
  key.reserve(64);
  switch (sort_by) {
    case 1: {
      const int attempted = ValInt(line.substr(33, 3)), correct = ValInt(line.substr(36, 3));
      key = correct == 0 ? "   " : ZeroPad(PercentCorrect(attempted, correct), 3);
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
  return key;
}

namespace {

// Reorders the entries of `selection` by the keys of its lines, as the
// exchange sort of the parallel lists would (see ExchangeSortOrder).
template <typename Entry>
void SortByKeys(const std::vector<std::string>& keys, const std::vector<std::string>& lines,
                int direction, std::vector<Entry>* entries) {
  const std::vector<std::string_view> views(keys.begin(), keys.end());
  const std::vector<std::size_t> order = ExchangeSortOrder(
      views, direction, [&](std::size_t a, std::size_t b) { return lines[a] == lines[b]; });
  std::vector<Entry> sorted;
  sorted.reserve(entries->size());
  for (std::size_t k : order) sorted.push_back((*entries)[k]);
  *entries = std::move(sorted);
}

}  // namespace

void SortSelection(const TitleTables& tables, int sort_by, int direction,
                   RecordSelection* selection) {
  std::vector<std::string> keys, lines;
  keys.reserve(selection->size());
  lines.reserve(selection->size());
  for (std::size_t i = 0; i < selection->size(); ++i) {
    lines.push_back(selection->RecordLine(i));
    keys.push_back(
        DisplaySortKey(tables, lines.back(), sort_by, static_cast<int>(selection->Seq(i))));
  }
  SortByKeys(keys, lines, direction, &selection->entries_);
}

void SortSelectionByLine(int direction, RecordSelection* selection) {
  std::vector<std::string> lines;
  lines.reserve(selection->size());
  for (std::size_t i = 0; i < selection->size(); ++i) lines.push_back(selection->RecordLine(i));
  SortByKeys(lines, lines, direction, &selection->entries_);
}

Status DisplayNew(Folder& folder, const TitleTables& tables, const DisplayRequest& request,
                  WorkingLists& lists, DisplayResult* result) {
  result->one_student = false;
  Status s;
  if (!request.reuse_working_lists) s = lists.Build(folder);
  if (s.ok()) s = WriteWorkingFile(folder, lists, request.data_group);
  // The working file holds exactly the data group's list: the selection is
  // made from that list as written.
  if (s.ok()) {
    s = SelectRecords(folder, lists.Group(request.data_group), request.classnum, request.studentnum,
                      &result->lines);
  }
  if (!s.ok()) {
    result->lines = RecordSelection();
    return s;
  }
  if (result->lines.empty()) return Status::OK();
  SortSelection(tables, request.sort_by, request.sort_direction, &result->lines);
  result->one_student = request.studentnum != -1;
  return Status::OK();
}

}  // namespace quillon

#include "records/DisplayBuilder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <numeric>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/RecordFile.h"
#include "store/Read.h"

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

std::string_view RecordList::Bytes(std::string* scratch) const {
  scratch->clear();
  if (bytes_ == nullptr) return *scratch;
  if (index_ == nullptr) return *bytes_;
  scratch->reserve(size() * kLength);
  for (std::size_t i = 0; i < size(); ++i) scratch->append((*this)[i]);
  return *scratch;
}

Status WorkingLists::Build(Folder& folder) {
  records_.clear();
  tests_.clear();
  recent_.clear();
  Status s = ReadRecordBytes(folder, kRecordsFile, &records_);
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
  std::vector<std::uint32_t> sorted(tests_.size());  // indexes into tests_
  std::iota(sorted.begin(), sorted.end(), 0u);
  const RecordList tests = lstRecords2();
  std::stable_sort(sorted.begin(), sorted.end(), [&](std::uint32_t a, std::uint32_t b) {
    const std::string_view ta = tests[a], tb = tests[b];
    if (int c = GroupKey(ta).compare(GroupKey(tb)); c != 0) return c < 0;
    return UnitLessonFields(ta) < UnitLessonFields(tb);
  });
  // Walking lstSorted down, the first item of each group is its last test.
  for (std::size_t n = sorted.size(); n-- > 0;) {
    const std::string_view t = tests[sorted[n]];
    if (n + 1 < sorted.size()) {
      const std::string_view above = tests[sorted[n + 1]];
      if (GroupKey(t) == GroupKey(above) && UnitLessonFields(t) == UnitLessonFields(above)) {
        continue;
      }
    }
    recent_.push_back(tests_[sorted[n]]);
  }
  return Status::OK();
}

RecordList WorkingLists::Group(DataGroup data_group) const {
  switch (data_group) {
    case DataGroup::kTestsOnly:
      return lstRecords2();
    case DataGroup::kMostRecentTest:
      return lstRecords3();
    case DataGroup::kAllRecords:
      break;
  }
  return lstRecords1();
}

Status WriteWorkingFile(Folder& folder, const WorkingLists& lists, DataGroup data_group) {
  std::string scratch;
  return folder.WriteFile(kWorkingFile, lists.Group(data_group).Bytes(&scratch));
}

std::string RecordSelection::RecordLine(std::size_t i) const {
  const std::string_view r = records_[entries_[i].record];
  return ComposeRecordLine(r, roster_.Name(ActivityClassNumber(r), ActivityStudentNumber(r)));
}

Status SelectRecords(Folder& folder, const RecordList& records, int classnum, int studentnum,
                     RecordSelection* selection) {
  selection->records_ = records;
  selection->entries_.clear();
  Status s = LoadRoster(folder, &selection->roster_);
  if (!s.ok()) return s;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string_view r = records[i];
    if (studentnum != kAllStudents && ActivityStudentNumber(r) != studentnum) continue;
    if (classnum != kAllClasses && ActivityClassNumber(r) != classnum) continue;
    const auto seq = static_cast<std::uint32_t>(selection->entries_.size() + 1);
    selection->entries_.push_back({static_cast<std::uint32_t>(i), seq});
  }
  return Status::OK();
}

std::string DisplaySortKey(const TitleTables& tables, std::string_view line, SortBy sort_by,
                           int seq) {
  const std::string padded = FixWidth(line, 43);
  line = padded;
  const std::string_view name = LineName(line);
  const std::string_view yymmdd = LineYymmdd(line);
  std::string key;
  key.reserve(64);
  switch (sort_by) {
    case SortBy::kPercent: {
      const int attempted = ValInt(LineAttemptedField(line)),
                correct = ValInt(LineCorrectField(line));
      key = correct == 0 ? "   " : ZeroPad(PercentCorrect(attempted, correct), 3);
      key.append(name).append(yymmdd);
      break;
    }
    case SortBy::kDate:
      key.append(yymmdd).append(name);
      break;
    case SortBy::kLesson:
      key = ActivityLabel(tables.catalogue, tables.unit_names, LineCourseCode(line),
                          LineUnitField(line), LineLessonField(line), LineKind(line));
      key.append(name).append(yymmdd);
      break;
    case SortBy::kName:
      key.append(name).append(yymmdd);
      break;
  }
  key += ZeroPad(seq, 4);
  return key;
}

namespace {

// A display sort key held in parts, without a text of its own: the head
// (the percent or the activity label, one text shared by every line that
// has it), the 21-character name, the date as yymmdd and the running
// number. The key's text is these end to end (Date: the date first), and
// Compare orders keys exactly as their texts compare.
struct KeyParts {
  std::uint64_t seq_order;  // SeqOrder of the running number
  std::uint32_t head;       // into KeyHeads
  std::uint32_t name;       // into the names: 21 characters
  std::array<char, 6> yymmdd;
};

// The running number's text (at least four digits) as a number that orders
// as the texts do: each digit one more than itself in base 11, the places
// a shorter text lacks left 0 ("9999" after "10000", "1000" before "10000").
std::uint64_t SeqOrder(std::uint32_t seq) {
  char text[12];
  const int n = std::snprintf(text, sizeof text, "%04u", seq);
  std::uint64_t order = 0;
  for (int i = 0; i < 10; ++i)
    order = order * 11 + (i < n ? static_cast<unsigned>(text[i] - '0') + 1 : 0);
  return order;
}

class KeyHeads {
 public:
  std::uint32_t Intern(const std::string& head) {
    auto [it, added] = ids_.emplace(head, static_cast<std::uint32_t>(texts_.size()));
    if (added) texts_.push_back(head);
    return it->second;
  }
  const std::string& operator[](std::uint32_t id) const { return texts_[id]; }

 private:
  std::map<std::string, std::uint32_t> ids_;
  std::vector<std::string> texts_;
};

// Compares the texts made of `a` and `b` laid end to end, as one text each.
template <std::size_t N>
int CompareJoined(const std::array<std::string_view, N>& a,
                  const std::array<std::string_view, N>& b) {
  std::size_t ia = 0, ib = 0, oa = 0, ob = 0;
  for (;;) {
    while (ia < N && oa == a[ia].size()) ++ia, oa = 0;
    while (ib < N && ob == b[ib].size()) ++ib, ob = 0;
    if (ia == N || ib == N) return ia == N ? (ib == N ? 0 : -1) : 1;
    const std::size_t n = std::min(a[ia].size() - oa, b[ib].size() - ob);
    if (int c = a[ia].substr(oa, n).compare(b[ib].substr(ob, n)); c != 0) return c;
    oa += n;
    ob += n;
  }
}

class DisplayKeys {
 public:
  explicit DisplayKeys(SortBy sort_by) : sort_by_(sort_by) { heads_.Intern(""); }
  void Add(const TitleTables& tables, std::string_view line, const std::string* name,
           std::uint32_t seq) {
    auto [it, added] = name_ids_.emplace(name, static_cast<std::uint32_t>(names_.size()));
    if (added) names_.push_back(name);
    seqs_.push_back(seq);
    KeyParts k{SeqOrder(seq), 0, it->second, {}};
    const std::string_view yymmdd = LineYymmdd(line);
    std::copy_n(yymmdd.begin(), 6, k.yymmdd.begin());
    if (sort_by_ == SortBy::kPercent || sort_by_ == SortBy::kLesson) {
      const std::string key = DisplaySortKey(tables, line, sort_by_, 0);
      k.head = heads_.Intern(key.substr(0, key.size() - 4 - 27));  // without name, date, "0000"
    }
    parts_.push_back(k);
  }
  int Compare(std::size_t a, std::size_t b) const {
    const KeyParts &x = parts_[a], &y = parts_[b];
    // The parts after the head have fixed widths but the last: with the
    // same head (or a date first) they compare one by one.
    if (sort_by_ == SortBy::kDate || x.head == y.head) {
      if (sort_by_ == SortBy::kDate) {
        if (int c = std::memcmp(x.yymmdd.data(), y.yymmdd.data(), 6); c != 0) return c;
      }
      if (x.name != y.name) {
        if (int c = names_[x.name]->compare(*names_[y.name]); c != 0) return c;
      }
      if (sort_by_ != SortBy::kDate) {
        if (int c = std::memcmp(x.yymmdd.data(), y.yymmdd.data(), 6); c != 0) return c;
      }
      return x.seq_order < y.seq_order ? -1 : x.seq_order > y.seq_order ? 1 : 0;
    }
    const std::string &hx = heads_[x.head], &hy = heads_[y.head];
    const std::size_t common = std::min(hx.size(), hy.size());
    if (int c =
            std::string_view(hx).substr(0, common).compare(std::string_view(hy).substr(0, common));
        c != 0) {
      return c;
    }
    // One head begins the other: the texts compare on across the parts.
    char sx[12], sy[12];
    const std::string_view seq_x(
        sx, static_cast<std::size_t>(std::snprintf(sx, sizeof sx, "%04u", seqs_[a])));
    const std::string_view seq_y(
        sy, static_cast<std::size_t>(std::snprintf(sy, sizeof sy, "%04u", seqs_[b])));
    const std::string_view date_x(x.yymmdd.data(), 6), date_y(y.yymmdd.data(), 6);
    return CompareJoined<4>({heads_[x.head], *names_[x.name], date_x, seq_x},
                            {heads_[y.head], *names_[y.name], date_y, seq_y});
  }

 private:
  SortBy sort_by_;
  KeyHeads heads_;
  std::map<const std::string*, std::uint32_t> name_ids_;
  std::vector<const std::string*> names_;
  std::vector<std::uint32_t> seqs_;
  std::vector<KeyParts> parts_;
};

// Reorders `entries` by `compare`, as the exchange sort of the parallel
// lists of keys and RecordLines would (see ExchangeSortOrder).
template <typename Entry, typename Compare, typename Line>
void SortEntries(const Compare& compare, const Line& line, SortDirection direction,
                 std::vector<Entry>* entries) {
  const std::vector<std::size_t> order =
      ExchangeSortOrder(entries->size(), compare, static_cast<int>(direction),
                        [&](std::size_t a, std::size_t b) { return line(a) == line(b); });
  std::vector<Entry> sorted;
  sorted.reserve(entries->size());
  for (std::size_t k : order) sorted.push_back((*entries)[k]);
  *entries = std::move(sorted);
}

}  // namespace

const std::string& RecordSelection::NameOf(std::size_t i) const {
  static const std::string kBlank(21, ' ');
  const std::string_view r = records_[entries_[i].record];
  const std::string& name = roster_.Name(ActivityClassNumber(r), ActivityStudentNumber(r));
  return name.size() == 21 ? name : kBlank;
}

void SortSelection(const TitleTables& tables, SortBy sort_by, SortDirection direction,
                   RecordSelection* selection) {
  DisplayKeys keys(sort_by);
  for (std::size_t i = 0; i < selection->size(); ++i) {
    keys.Add(tables, selection->RecordLine(i), &selection->NameOf(i),
             static_cast<std::uint32_t>(selection->Seq(i)));
  }
  SortEntries([&](std::size_t a, std::size_t b) { return keys.Compare(a, b); },
              [&](std::size_t i) { return selection->RecordLine(i); }, direction,
              &selection->entries_);
}

void SortSelectionByLine(SortDirection direction, RecordSelection* selection) {
  // The RecordLine is its name field and 22 characters more.
  struct LineKey {
    const std::string* name;
    std::array<char, 22> rest;
  };
  std::vector<LineKey> keys;
  keys.reserve(selection->size());
  for (std::size_t i = 0; i < selection->size(); ++i) {
    const std::string line = selection->RecordLine(i);
    LineKey k{&selection->NameOf(i), {}};
    std::copy_n(LineAfterName(line).begin(), 22, k.rest.begin());
    keys.push_back(k);
  }
  SortEntries(
      [&](std::size_t a, std::size_t b) {
        if (int c = keys[a].name->compare(*keys[b].name); c != 0) return c;
        return std::memcmp(keys[a].rest.data(), keys[b].rest.data(), 22);
      },
      [&](std::size_t i) { return selection->RecordLine(i); }, direction, &selection->entries_);
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
  result->one_student = request.studentnum != kAllStudents;
  return Status::OK();
}

}  // namespace quillon

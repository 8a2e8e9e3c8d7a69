#include "records/DisplayBuilder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <numeric>

#include "base/KeyIds.h"
#include "base/RadixSort.h"
#include "base/TextRanks.h"
#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/RecordFile.h"
#include "store/Read.h"

namespace quillon {
namespace {

constexpr std::size_t kLength = kActivityRecordLength;
__extension__ typedef unsigned __int128 Uint128;

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
    if (r[0] == 'S') {  // an alternate course code
      const std::string code = NormalizeCourseCode(std::string_view(r, 2));
      r[0] = code[0];
      r[1] = code[1];
    }
    if (ClassifyActivity(std::string_view(r, kLength)).is_test) {
      tests_.push_back(static_cast<std::uint32_t>(i));
    }
  }
  // lstSorted orders the tests by key, its keys ending in the test's place;
  // walking it down, the first item of each group is the group's last test
  // in the file. So: walking the tests from the last one, the first met of
  // each group, the groups then in descending order of their ten
  // characters (read as one number, byte order kept).
  KeyIds firsts, groups;  // a group's first eight characters; then with the last two
  std::vector<Uint128> last;  // per group: its characters, then its place in tests_
  for (std::size_t n = tests_.size(); n-- > 0;) {
    const std::string_view test(records_.data() + std::size_t{tests_[n]} * kLength, kLength);
    char chars[10];
    std::memcpy(chars, GroupKey(test).data(), 6);
    std::memcpy(chars + 6, UnitLessonFields(test).data(), 4);
    const std::uint64_t first = firsts.Intern(KeyIds::PackAt<8>(std::string_view(chars, 10), 0)).first;
    if (!groups.Intern(first << 16 | KeyIds::PackAt<2>(std::string_view(chars, 10), 8)).second) continue;
    Uint128 key = 0;
    for (const char c : chars) key = key << 8 | static_cast<unsigned char>(c);
    last.push_back(key << 32 | n);
  }
  std::sort(last.begin(), last.end(), [](Uint128 a, Uint128 b) { return a > b; });
  recent_.reserve(last.size());
  for (const Uint128 group : last) recent_.push_back(tests_[static_cast<std::uint32_t>(group)]);
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
  // The working file is the program's own: opened privately, so a link in
  // its place is refused rather than written through.
  std::string scratch;
  const std::string_view bytes = lists.Group(data_group).Bytes(&scratch);
  std::unique_ptr<File> file;
  Status s = folder.OpenPrivateFile(kWorkingFile, &file);
  if (s.ok()) s = file->Truncate(0);
  if (s.ok()) s = file->Write(0, bytes);
  return s;
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
  char digits[10];  // the text backwards
  int n = 0;
  do {
    digits[n++] = static_cast<char>(seq % 10);
    seq /= 10;
  } while (seq != 0);
  while (n < 4) digits[n++] = 0;
  std::uint64_t order = 0;
  for (int i = 0; i < 10; ++i) order = order * 11 + (i < n ? digits[n - 1 - i] + 1u : 0u);
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

namespace {

// Which of `texts` begin another or are begun by another.
std::vector<bool> HeadsInPrefixes(const std::vector<std::string>& texts) {
  std::vector<std::uint32_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return texts[a] < texts[b]; });
  // In text order a text's beginnings come before it, one inside the next:
  // `open` holds those of the text last seen.
  std::vector<bool> in(texts.size(), false);
  std::vector<std::uint32_t> open;
  for (const std::uint32_t id : order) {
    const std::string& text = texts[id];
    while (!open.empty() && text.compare(0, texts[open.back()].size(), texts[open.back()]) != 0) {
      open.pop_back();
    }
    if (!open.empty() && texts[open.front()] != text) {  // a shorter text begins it
      in[id] = true;
      for (const std::uint32_t o : open) in[o] = true;
    }
    open.push_back(id);
  }
  return in;
}

// The ranks of the running numbers 1..max in the order of their texts (at
// least four digits: "0999" < "1000" < "10000" < "1001"), and the numbers
// in that order. Below 10,000 the texts order as the numbers do; a number
// of five or more digits follows the one it begins with.
void RankRunningNumbers(std::uint32_t max, std::vector<std::uint32_t>* rank_of,
                        std::vector<std::uint32_t>* in_order) {
  rank_of->assign(std::size_t{max} + 1, 0);
  in_order->clear();
  const auto visit = [&](auto& self, std::uint64_t v) -> void {
    if (v > max) return;
    if (v != 0) {
      (*rank_of)[v] = static_cast<std::uint32_t>(in_order->size());
      in_order->push_back(static_cast<std::uint32_t>(v));
    }
    if (v >= 1000 && v * 10 <= max) {
      for (std::uint64_t d = 0; d < 10; ++d) self(self, v * 10 + d);
    }
  };
  for (std::uint32_t v = 0; v <= 9999 && v <= max; ++v) visit(visit, v);
}

void SortKeys(std::vector<std::uint64_t>& keys, int bits) { RadixSort(keys, bits); }
void SortKeys(std::vector<Uint128>& keys, int) { std::sort(keys.begin(), keys.end()); }

// Sorts the entries by their keys (of `bits` bits, the running number's
// rank in the lowest `seq_bits`).
template <typename Key, typename Entry>
void SortPacked(std::vector<Key> keys, int bits, int seq_bits,
                const std::vector<std::uint32_t>& seq_in_order,
                const std::vector<std::uint32_t>& at_of_seq, SortDirection direction,
                std::vector<Entry>* entries) {
  SortKeys(keys, bits);
  if (direction == SortDirection::kDecreasing) std::reverse(keys.begin(), keys.end());
  const Key mask = (Key{1} << seq_bits) - 1;
  std::vector<Entry> sorted(keys.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    sorted[k] = (*entries)[at_of_seq[seq_in_order[static_cast<std::size_t>(keys[k] & mask)]]];
  }
  *entries = std::move(sorted);
}

// The usual way: each line's DisplaySortKey as one number of up to 128
// bits (64 where they suffice), its parts laid end to end as the key's text
// lays them, each part as its rank among that part's distinct texts: the
// head, the 21-character name, the yymmdd date, the running number. A
// line's parts are found once per distinct record bytes they come from.
// False, leaving the selection as it was, when the parts do not pack that
// way (a head and name that begin another, too many distinct parts);
// SortSelection then compares the keys' parts.
template <typename Entry>
bool SortByPackedKeys(const TitleTables& tables, SortBy sort_by, SortDirection direction,
                      const RecordList& records, const Roster& roster,
                      std::vector<Entry>* entries) {
  const std::size_t n = entries->size();
  const bool headed = sort_by == SortBy::kPercent || sort_by == SortBy::kLesson;
  KeyIds name_ids, head_ids, date_ids;
  std::vector<std::string> names, heads, dates;
  struct Parts {
    std::uint32_t name, head, date;
  };
  std::vector<Parts> parts(n);
  std::string line;
  std::uint32_t max_seq = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view r = records[(*entries)[i].record];
    if (r.size() != kLength) return false;
    bool composed = false;
    const auto compose = [&] {
      if (!composed) {
        ComposeRecordLineInto(r, roster.Name(ActivityClassNumber(r), ActivityStudentNumber(r)),
                              &line);
      }
      composed = true;
      return std::string_view(line);
    };
    Parts& p = parts[i];
    const auto [name, new_name] = name_ids.Intern(KeyIds::PackAt<4>(r, 2));
    if (new_name) names.emplace_back(LineName(compose()));
    p.name = name;
    p.head = 0;
    if (headed) {
      // The head comes from the counts (percent), or from the course code,
      // unit and lesson fields (lesson).
      const std::uint64_t from =
          sort_by == SortBy::kPercent
              ? KeyIds::PackAt<6>(r, 16)
              : KeyIds::PackAt<2>(r, 0) << 32 | KeyIds::PackAt<4>(r, 12);
      const auto [head, new_head] = head_ids.Intern(from);
      if (new_head) {
        const std::string key = DisplaySortKey(tables, compose(), sort_by, 0);
        heads.push_back(key.substr(0, key.size() - 4 - 27));  // without name, date, "0000"
      }
      p.head = head;
    }
    const auto [date, new_date] = date_ids.Intern(KeyIds::PackAt<6>(r, 6));
    if (new_date) dates.emplace_back(LineYymmdd(compose()));
    p.date = date;
    max_seq = std::max(max_seq, (*entries)[i].seq);
  }

  std::vector<std::uint32_t> name_rank, head_rank, date_rank;
  std::uint32_t name_count = 0, head_count = 0, date_count = 0;
  if (!RankTexts(names, &name_rank, &name_count) || !RankTexts(dates, &date_rank, &date_count)) {
    return false;
  }
  // When a head begins another (a lesson's title beginning a longer one),
  // the comparison of their lines runs on into the names: each such head
  // and its line's name then rank as one text among the other heads.
  std::vector<std::uint32_t> lead_of;  // per line, into lead_rank, when a head begins another
  std::vector<std::uint32_t> lead_rank;
  if (!RankTexts(heads, &head_rank, &head_count)) {
    const std::vector<bool> begins = HeadsInPrefixes(heads);
    KeyIds lead_ids;
    std::vector<std::string> leads;
    lead_of.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      const Parts& p = parts[i];
      const bool joined = begins[p.head];
      const auto [lead, added] =
          lead_ids.Intern(std::uint64_t{p.head} << 32 | (joined ? p.name : 0xFFFFFFFFu));
      if (added) leads.push_back(joined ? heads[p.head] + names[p.name] : heads[p.head]);
      lead_of[i] = lead;
    }
    if (!RankTexts(leads, &lead_rank, &head_count)) return false;
  }

  // The running numbers: each line's, by its rank, leads back to the line.
  constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  std::vector<std::uint32_t> seq_rank, seq_in_order, at_of_seq(std::size_t{max_seq} + 1, kNone);
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t& at = at_of_seq[(*entries)[i].seq];
    if (at != kNone || (*entries)[i].seq == 0) return false;  // not one number per line
    at = static_cast<std::uint32_t>(i);
  }
  RankRunningNumbers(max_seq, &seq_rank, &seq_in_order);

  const int name_bits = BitsBelow(name_count), head_bits = BitsBelow(head_count),
            date_bits = BitsBelow(date_count), seq_bits = BitsBelow(seq_in_order.size());
  const int bits = head_bits + name_bits + date_bits + seq_bits;
  if (bits > 128) return false;
  const auto key_of = [&](std::size_t i, auto zero) {
    using Key = decltype(zero);
    const Parts& p = parts[i];
    const Key name = name_rank[p.name], date = date_rank[p.date];
    const Key head = !headed ? 0 : lead_of.empty() ? head_rank[p.head] : lead_rank[lead_of[i]];
    const Key lead = sort_by == SortBy::kDate ? (date << name_bits | name)
                                              : ((head << name_bits | name) << date_bits | date);
    return lead << seq_bits | seq_rank[(*entries)[i].seq];
  };
  if (bits <= 64) {
    std::vector<std::uint64_t> keys(n);
    for (std::size_t i = 0; i < n; ++i) keys[i] = key_of(i, std::uint64_t{0});
    SortPacked(std::move(keys), bits, seq_bits, seq_in_order, at_of_seq, direction, entries);
  } else {
    std::vector<Uint128> keys(n);
    for (std::size_t i = 0; i < n; ++i) keys[i] = key_of(i, Uint128{0});
    SortPacked(std::move(keys), bits, seq_bits, seq_in_order, at_of_seq, direction, entries);
  }
  return true;
}

}  // namespace

void SortSelection(const TitleTables& tables, SortBy sort_by, SortDirection direction,
                   RecordSelection* selection) {
  if (direction != SortDirection::kIncreasing && direction != SortDirection::kDecreasing) return;
  if (SortByPackedKeys(tables, sort_by, direction, selection->records_, selection->roster_,
                       &selection->entries_)) {
    return;
  }
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

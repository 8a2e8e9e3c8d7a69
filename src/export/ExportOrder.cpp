#include "export/ExportOrder.h"

#include <algorithm>
#include <array>
#include <limits>

#include "base/KeyIds.h"
#include "base/Text.h"
#include "base/TextRanks.h"
#include "data/ActivityRecord.h"
#include "data/RecordFile.h"
#include "export/ExportDate.h"

namespace quillon {
namespace {

// The distinct padded texts of one key field, each given an id when first
// seen (by the record bytes it comes from), then ranked: the fields have
// fixed widths, so comparing ranks compares the texts.
class FieldTexts {
 public:
  template <typename Text>
  std::uint32_t Id(std::uint64_t bytes, const Text& text) {
    const auto [id, added] = ids_.Intern(bytes);
    if (added) texts_.push_back(text());
    return id;
  }
  // The ranks of the ids, by text.
  std::vector<std::uint32_t> Ranks() const {
    std::vector<std::uint32_t> ranks;
    std::uint32_t distinct = 0;
    (void)RankTexts(texts_, &ranks, &distinct);  // one width: none begins another
    return ranks;
  }

 private:
  KeyIds ids_;
  std::vector<std::string> texts_;
};

// A key as ranks and the date, in key order, as one number where they fit
// in 64 bits (the last part in `rest` where they do not): comparing these
// compares the key texts.
struct Entry {
  std::uint64_t key;
  std::uint32_t rest;
  std::uint32_t item;  // the record's place in the unsorted list
};
bool Less(const Entry& a, const Entry& b) {
  return a.key < b.key || (a.key == b.key && a.rest < b.rest);
}
bool SameKey(const Entry& a, const Entry& b) { return a.key == b.key && a.rest == b.rest; }

// Each record's key. The class, student and course texts are found once per
// distinct record bytes they come from; their ids go into the keys and are
// then replaced by their ranks.
std::vector<Entry> MakeEntries(const std::vector<std::string_view>& records, int order,
                               const ExportLookups& lookups, bool* one_number) {
  FieldTexts cls, stu, course;
  // The three parts of the key: what each holds, in key order.
  enum Part { kDatePart, kClassPart, kStudentPart, kCoursePart, kNoPart };
  using Parts = std::array<Part, 3>;
  const Parts parts = order == 2   ? Parts{kDatePart, kStudentPart, kNoPart}
                      : order == 3 ? Parts{kClassPart, kDatePart, kStudentPart}
                      : order == 4 ? Parts{kClassPart, kStudentPart, kDatePart}
                      : order == 5 ? Parts{kStudentPart, kCoursePart, kDatePart}
                                   : Parts{kDatePart, kClassPart, kStudentPart};
  // The entries hold the parts' ids first (the first two in the key, the
  // third in `rest`), then their ranks packed.
  std::vector<Entry> entries(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string_view r = records[i];
    const bool whole = r.size() == kActivityRecordLength;
    std::uint32_t ids[3];
    for (std::size_t k = 0; k < 3; ++k) {
      std::uint32_t& v = ids[k];
      switch (parts[k]) {
        case kDatePart: {
          const std::string_view mmddyy = ActivityDate(r);
          v = ExportDateValue(mmddyy.substr(0, 2), mmddyy.substr(2, 2), mmddyy.substr(4, 2));
          break;
        }
        case kClassPart:
          v = cls.Id(whole ? KeyIds::PackAt<2>(r, 2) : KeyIds::Pack(Field(r, 3, 2)),
                     [&] { return FixWidth(ExportClassName(lookups, r), 25); });
          break;
        case kStudentPart:
          v = stu.Id(whole ? KeyIds::PackAt<4>(r, 2) : KeyIds::Pack(Field(r, 3, 4)),
                     [&] { return FixWidth(ExportStudentName(lookups, r), 21); });
          break;
        case kCoursePart: {
          const std::string_view code = ActivityCourseCode(r);
          v = course.Id(KeyIds::Pack(code),
                        [&] { return FixWidth(CourseTitle(NormalizeCourseCode(code)), 8); });
          break;
        }
        case kNoPart:
          v = 0;
      }
    }
    entries[i] = {std::uint64_t{ids[0]} << 32 | ids[1], ids[2], static_cast<std::uint32_t>(i)};
  }
  const std::vector<std::uint32_t> ranks[] = {{}, cls.Ranks(), stu.Ranks(), course.Ranks(), {}};
  int bits[3];
  for (std::size_t k = 0; k < 3; ++k) {
    bits[k] = parts[k] == kDatePart ? 25  // yyyymmdd below 2^25
              : parts[k] == kNoPart ? 0
                                    : BitsBelow(ranks[parts[k]].size());
  }
  const bool packed = bits[0] + bits[1] + bits[2] <= 64;
  *one_number = packed;
  for (Entry& e : entries) {
    const std::uint32_t ids[3] = {static_cast<std::uint32_t>(e.key >> 32),
                                  static_cast<std::uint32_t>(e.key), e.rest};
    std::uint64_t v[3];
    for (std::size_t k = 0; k < 3; ++k) {
      const std::vector<std::uint32_t>& rank = ranks[parts[k]];
      v[k] = rank.empty() ? ids[k] : rank[ids[k]];
    }
    if (packed) {
      e.key = (v[0] << bits[1] | v[1]) << bits[2] | v[2];
      e.rest = 0;
    } else {
      e.key = v[0] << 32 | v[1];
      e.rest = static_cast<std::uint32_t>(v[2]);
    }
  }
  return entries;
}

// The export's quicksort over entries [low, high]:
// middle pivot, i and j moving in while the keys are smaller / greater,
// exchanges while i <= j. The two parts left are independent, so sorting
// the smaller one first and the larger one in the loop leaves the same
// order, with a stack of at most log2(n) calls.
//
// `*budget` counts down the entries the partitions pass over; when it runs
// out the sort stops, leaving the list in no defined order, and says so.
// The budget is far above what any file the lessons write needs; only an
// order made to defeat the middle pivot exhausts it.
// `kOneNumber`: every key is in `key` alone.
template <bool kOneNumber>
bool LiteralQuickSort(std::vector<Entry>& list, long low, long high, long long* budget) {
  const auto less = [](const Entry& a, const Entry& b) {
    if constexpr (kOneNumber) return a.key < b.key;
    return Less(a, b);
  };
  while (low < high) {
    *budget -= high - low + 1;
    if (*budget < 0) return false;
    long i = low, j = high;
    const Entry pivot = list[static_cast<std::size_t>((low + high) / 2)];
    while (i <= j) {
      while (less(list[static_cast<std::size_t>(i)], pivot) && i < high) ++i;
      while (less(pivot, list[static_cast<std::size_t>(j)]) && j > low) --j;
      if (i <= j) {
        std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    }
    if (j - low < high - i) {
      if (low < j && !LiteralQuickSort<kOneNumber>(list, low, j, budget)) return false;
      low = i;
    } else {
      if (i < high && !LiteralQuickSort<kOneNumber>(list, i, high, budget)) return false;
      high = j;
    }
  }
  return true;
}

}  // namespace

std::vector<std::uint32_t> ExportOrder(
    const std::vector<std::string_view>& records, int order, const ExportLookups& lookups,
    const std::function<bool(std::uint32_t, std::uint32_t)>& same) {
  const long count = static_cast<long>(records.size());
  bool one_number = false;
  std::vector<Entry> entries = MakeEntries(records, order, lookups, &one_number);
  const auto sort = [&](long long* budget) {
    return one_number ? LiteralQuickSort<true>(entries, 0, count - 1, budget)
                      : LiteralQuickSort<false>(entries, 0, count - 1, budget);
  };
  // The procedure itself gives the order, equal keys included. Should an
  // order defeat its middle pivot, an n log n sort takes over, and is kept
  // unless two different lines share a key.
  long long depth = 1;
  while ((1LL << depth) < count) ++depth;
  long long budget = count * (8 * depth + 64);
  if (!sort(&budget)) {
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
      return Less(a, b) || (SameKey(a, b) && a.item < b.item);
    });
    bool literal = false;
    for (long k = 1; k < count && !literal; ++k) {
      const Entry &a = entries[static_cast<std::size_t>(k - 1)], &b = entries[static_cast<std::size_t>(k)];
      literal = SameKey(a, b) && !same(a.item, b.item);
    }
    if (literal) {
      entries = MakeEntries(records, order, lookups, &one_number);
      budget = std::numeric_limits<long long>::max();
      sort(&budget);
    }
  }
  std::vector<std::uint32_t> out(entries.size());
  for (std::size_t k = 0; k < entries.size(); ++k) out[k] = entries[k].item;
  return out;
}

}  // namespace quillon

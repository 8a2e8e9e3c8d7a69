#include "export/ExportOrder.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "export/ExportDate.h"

namespace quillon {
namespace {

// The parts of a record's key: the date and the class, student and course
// fields of its line.
struct KeyParts {
  std::uint32_t date;
  std::string_view cls, stu, course;  // 25, 21 and 8 characters
};

// The key parts of records, the names padded as the line pads them, looked
// up once per class, student and course code.
class RecordParts {
 public:
  explicit RecordParts(const ExportLookups& lookups) : lookups_(lookups) {}
  KeyParts Of(std::string_view r) {
    const std::string& cls =
        Cached(classes_, ActivityClassNumber(r), 25, [&] { return ExportClassName(lookups_, r); });
    const std::string& stu =
        Cached(students_, ActivityClassNumber(r) * 65536LL + ActivityStudentNumber(r), 21,
               [&] { return ExportStudentName(lookups_, r); });
    const std::string_view code = ActivityCourseCode(r);
    const std::string& course = Cached(
        courses_, (static_cast<unsigned char>(code[0]) << 8) | static_cast<unsigned char>(code[1]),
        8, [&] { return CourseTitle(NormalizeCourseCode(code)); });
    const std::string_view mmddyy = ActivityDate(r);
    return {ExportDateValue(mmddyy.substr(0, 2), mmddyy.substr(2, 2), mmddyy.substr(4, 2)), cls,
            stu, course};
  }

 private:
  template <typename Name>
  const std::string& Cached(std::unordered_map<long long, std::string>& cache, long long key,
                            int width, const Name& name) {
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, FixWidth(name(), width)).first;
    return it->second;
  }
  const ExportLookups& lookups_;
  std::unordered_map<long long, std::string> classes_, students_, courses_;
};

// Whole-number ranks of the distinct texts of one field. Looked up by view:
// a text already held costs no copy (millions of lines share a few texts).
class Ranks {
 public:
  void Add(std::string_view text) {
    if (ids_.find(text) == ids_.end()) ids_.emplace(text, 0);
  }
  void Finish() {
    std::vector<std::string> texts;
    for (auto& [text, id] : ids_) texts.push_back(text);
    std::sort(texts.begin(), texts.end());
    for (std::uint32_t r = 0; r < texts.size(); ++r) ids_[texts[r]] = r;
  }
  // `text` must have been added.
  std::uint32_t Of(std::string_view text) const { return ids_.find(text)->second; }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> ids_;
};

// A key as ranks and the date, in key order: the fields are fixed-width, so
// comparing these compares the key texts.
using PackedKey = std::array<std::uint32_t, 3>;

struct Entry {
  PackedKey key;
  std::uint32_t item;  // the record's place in the unsorted list
};

PackedKey Pack(const KeyParts& p, int order, const Ranks& cls, const Ranks& stu,
               const Ranks& course) {
  const std::uint32_t c = cls.Of(p.cls), s = stu.Of(p.stu);
  switch (order) {
    case 2:
      return {p.date, s, 0};
    case 3:
      return {c, p.date, s};
    case 4:
      return {c, s, p.date};
    case 5:
      return {s, course.Of(p.course), p.date};
    default:
      return {p.date, c, s};
  }
}

// The export's quicksort over entries [low, high]:
// middle pivot, i and j moving in while the keys are smaller / greater,
// exchanges while i <= j. The two parts left are independent, so sorting
// the smaller one first and the larger one in the loop leaves the same
// order, with a stack of at most log2(n) calls.
void LiteralQuickSort(std::vector<Entry>& list, long low, long high) {
  while (low < high) {
    long i = low, j = high;
    const PackedKey pivot = list[static_cast<std::size_t>((low + high) / 2)].key;
    while (i <= j) {
      while (list[static_cast<std::size_t>(i)].key < pivot && i < high) ++i;
      while (pivot < list[static_cast<std::size_t>(j)].key && j > low) --j;
      if (i <= j) {
        std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    }
    if (j - low < high - i) {
      if (low < j) LiteralQuickSort(list, low, j);
      low = i;
    } else {
      if (i < high) LiteralQuickSort(list, i, high);
      high = j;
    }
  }
}

}  // namespace

std::vector<std::uint32_t> ExportOrder(
    const std::vector<std::string_view>& records, int order, const ExportLookups& lookups,
    const std::function<bool(std::uint32_t, std::uint32_t)>& same) {
  const std::size_t count = records.size();
  // The parts are read twice (cached lookups) rather than held: held, they
  // would be a megabyte or two of fresh memory on the largest file.
  RecordParts of(lookups);
  Ranks cls, stu, course;
  for (std::string_view r : records) {
    const KeyParts p = of.Of(r);
    cls.Add(p.cls);
    stu.Add(p.stu);
    course.Add(p.course);
  }
  cls.Finish();
  stu.Finish();
  course.Finish();
  std::vector<Entry> entries(count);
  for (std::size_t i = 0; i < count; ++i) {
    entries[i] = {Pack(of.Of(records[i]), order, cls, stu, course), static_cast<std::uint32_t>(i)};
  }
  std::vector<Entry> sorted = entries;
  std::sort(sorted.begin(), sorted.end(),
            [](const Entry& a, const Entry& b) { return a.key < b.key; });
  // Equal keys on different lines: their order is the procedure's own.
  bool literal = false;
  for (std::size_t k = 1; k < count && !literal; ++k) {
    literal = sorted[k - 1].key == sorted[k].key && !same(sorted[k - 1].item, sorted[k].item);
  }
  if (literal) {
    sorted = std::move(entries);
    LiteralQuickSort(sorted, 0, static_cast<long>(count) - 1);
  }
  std::vector<std::uint32_t> out(count);
  for (std::size_t k = 0; k < count; ++k) out[k] = sorted[k].item;
  return out;
}

}  // namespace quillon

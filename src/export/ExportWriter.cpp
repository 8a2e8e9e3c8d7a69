#include "export/ExportWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <unordered_map>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/RecordFile.h"

namespace quillon {
namespace {

// A count field written as a plain decimal number.
std::string NumberText(std::string_view field) { return GeneralNumber(Val(field)); }

bool IsDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

bool ValidDate(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  int days = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= days;
}

int CenturyYear(int yy) { return yy < 30 ? 2000 + yy : 1900 + yy; }

// The value of two digits, or -1 when they are not two digits.
int TwoDigits(std::string_view s) {
  if (s.size() != 2 || s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9') return -1;
  return (s[0] - '0') * 10 + (s[1] - '0');
}

// yyyymmdd of the date mm, dd, yy (two digits each), or 0 when it is none.
std::uint32_t DateValue(std::string_view mm, std::string_view dd, std::string_view yy) {
  const int m = TwoDigits(mm), d = TwoDigits(dd), y = TwoDigits(yy);
  if (m < 0 || d < 0 || y < 0) return 0;
  const int year = CenturyYear(y);
  if (!ValidDate(year, m, d)) return 0;
  return static_cast<std::uint32_t>(year * 10000 + m * 100 + d);
}

// The parts of a line's key: the date and the ranks of the class, student
// and course fields among their distinct texts (ranks keep the texts'
// order, and the fields are fixed-width, so comparing ranks in key order
// compares the key texts).
struct KeyParts {
  std::uint32_t date;
  std::string_view cls, stu, course;  // 25, 21 and 8 characters
};

using PackedKey = std::array<std::uint32_t, 3>;

struct Entry {
  PackedKey key;
  std::uint32_t item;  // the line's place in the unsorted list
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

// The export's quicksort as the system gives it, over entries [low, high]:
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

// The order of `count` lines (by their place) as the quicksort leaves them.
// `parts(i)` gives line i's key parts; `same(a, b)` whether lines a and b
// are the same text.
template <typename Parts, typename Same>
std::vector<std::uint32_t> ExportOrder(std::size_t count, int order, const Parts& parts,
                                       const Same& same) {
  Ranks cls, stu, course;
  for (std::size_t i = 0; i < count; ++i) {
    const KeyParts p = parts(i);
    cls.Add(p.cls);
    stu.Add(p.stu);
    course.Add(p.course);
  }
  cls.Finish();
  stu.Finish();
  course.Finish();
  std::vector<Entry> entries(count);
  for (std::size_t i = 0; i < count; ++i) {
    entries[i] = {Pack(parts(i), order, cls, stu, course), static_cast<std::uint32_t>(i)};
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

KeyParts LinePartsOf(std::string_view line) {
  return {DateValue(Field(line, 55, 2), Field(line, 58, 2), Field(line, 61, 2)), Field(line, 1, 25),
          Field(line, 26, 21), Field(line, 47, 8)};
}

// The eight fields of a line, trimmed and joined by tabs, ended by CR LF.
void AppendFileLine(std::string_view line, std::string& out) {
  static constexpr struct {
    std::size_t first, width;
  } kFields[] = {{1, 25}, {26, 21}, {47, 8}, {55, 8}, {63, 36}, {99, 3}, {102, 3}, {105, 3}};
  for (std::size_t f = 0; f < 8; ++f) {
    if (f > 0) out += '\t';
    const std::string_view field = Field(line, kFields[f].first, kFields[f].width);
    const std::size_t b = field.find_first_not_of(' ');
    if (b != std::string_view::npos)
      out.append(field.substr(b, field.find_last_not_of(' ') - b + 1));
  }
  out += "\r\n";
}

bool Selected(std::string_view record, const std::optional<std::string>& cutoff) {
  return !cutoff || RecordYymmdd(record) >= *cutoff;
}

}  // namespace

Status LoadExportLookups(Folder& folder, ExportLookups* lookups) {
  *lookups = ExportLookups();
  RecordSet classes, students;
  Status s = ReadRecords(folder, kClassesFile, kClassRecordLength, &classes);
  if (s.ok()) s = ReadRecords(folder, kStudentsFile, kStudentRecordLength, &students);
  if (!s.ok()) return s;
  for (std::size_t i = 0; i < classes.Count(); ++i) {
    std::string_view r = classes.At(i);
    lookups->class_names.emplace(ClassNumberOf(r), ClassDisplayName(r));
  }
  for (std::size_t i = 0; i < students.Count(); ++i) {
    std::string_view r = students.At(i);
    lookups->student_names.emplace(std::make_pair(StudentClassNumberOf(r), StudentNumberOf(r)),
                                   StudentDisplayName(r));
  }
  return Status::OK();
}

const std::string& ExportClassName(const ExportLookups& lookups, std::string_view record) {
  static const std::string kNone;
  auto it = lookups.class_names.find(ActivityClassNumber(record));
  return it == lookups.class_names.end() ? kNone : it->second;
}

const std::string& ExportStudentName(const ExportLookups& lookups, std::string_view record) {
  static const std::string kNone;
  auto it =
      lookups.student_names.find({ActivityClassNumber(record), ActivityStudentNumber(record)});
  return it == lookups.student_names.end() ? kNone : it->second;
}

std::string ComposeExportLine(const TitleTables& tables, const ExportLookups& lookups,
                              std::string_view raw) {
  std::string record = FixWidth(raw, kActivityRecordLength);
  record.replace(0, 2, NormalizeCourseCode(record.substr(0, 2)));
  const std::string_view r = record;
  const std::string_view code = r.substr(0, 2);
  const Classification c = ClassifyActivity(r);
  std::string unit(r.substr(12, 2)), lesson(r.substr(14, 2));
  if (c.kind != ' ') {
    unit = ZeroPad(c.unit, 2);
    lesson = ZeroPad(c.lesson, 2);
  }
  std::string line;
  line.reserve(108);
  AppendFixed(line, ExportClassName(lookups, r), 25);
  AppendFixed(line, ExportStudentName(lookups, r), 21);
  AppendFixed(line, CourseTitle(code), 8);
  line.append(r.substr(6, 2))
      .append("/")
      .append(r.substr(8, 2))
      .append("/")
      .append(r.substr(10, 2));
  AppendFixed(line, ActivityLabel(tables.catalogue, tables.unit_names, code, unit, lesson, c.kind),
              36);
  AppendFixed(line, NumberText(r.substr(16, 3)), 3);
  AppendFixed(line, NumberText(r.substr(19, 3)), 3);
  AppendFixed(line, NumberText(r.substr(22, 3)), 3);
  return line;
}

std::string ExportDateKey(std::string_view line) {
  const std::string_view date = Field(line, 55, 8);
  const std::uint32_t value =
      date.size() == 8 && date[2] == '/' && date[5] == '/'
          ? DateValue(date.substr(0, 2), date.substr(3, 2), date.substr(6, 2))
          : 0;
  return ZeroPad(value, 8);
}

std::string ExportSortKey(std::string_view line, int order) {
  const std::string d = ExportDateKey(line);
  const std::string_view cls = Field(line, 1, 25), stu = Field(line, 26, 21),
                         course = Field(line, 47, 8);
  std::string key;
  key.reserve(64);
  switch (order) {
    case 2:
      key.append(d).append(stu);
      break;
    case 3:
      key.append(cls).append(d).append(stu);
      break;
    case 4:
      key.append(cls).append(stu).append(d);
      break;
    case 5:
      key.append(stu).append(course).append(d);
      break;
    default:
      key.append(d).append(cls).append(stu);
      break;
  }
  return key;
}

void QuickSortLines(std::vector<std::string>& lines, int order) {
  // Lines shorter than the layout are taken as if padded with blanks, so
  // that their keys are built of the same fixed-width fields.
  std::vector<std::string> padded;
  padded.reserve(lines.size());
  for (const std::string& line : lines) padded.push_back(FixWidth(line, 107));
  const std::vector<std::uint32_t> sorted = ExportOrder(
      lines.size(), order, [&](std::size_t i) { return LinePartsOf(padded[i]); },
      [&](std::uint32_t a, std::uint32_t b) { return lines[a] == lines[b]; });
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (std::uint32_t i : sorted) out.push_back(std::move(lines[i]));
  lines = std::move(out);
}

std::string RecordYymmdd(std::string_view record) {
  return std::string(Field(record, 11, 2)) + std::string(Field(record, 7, 4));
}

std::optional<std::string> ParseCutoffDate(std::string_view text) {
  std::string t = Trim(text);
  std::size_t a = t.find('/');
  std::size_t b = a == std::string::npos ? a : t.find('/', a + 1);
  if (b == std::string::npos) return std::nullopt;
  std::string m = t.substr(0, a), d = t.substr(a + 1, b - a - 1), y = t.substr(b + 1);
  if (!IsDigits(m) || !IsDigits(d) || !IsDigits(y) || m.size() > 2 || d.size() > 2 ||
      (y.size() != 2 && y.size() != 4)) {
    return std::nullopt;
  }
  int month = std::stoi(m), day = std::stoi(d), year = std::stoi(y);
  if (y.size() == 2) year = CenturyYear(year);
  if (!ValidDate(year, month, day)) return std::nullopt;
  return ZeroPad(year % 100, 2) + ZeroPad(month, 2) + ZeroPad(day, 2);
}

Status CountExportRecords(Folder& folder, const std::optional<std::string>& cutoff,
                          std::size_t* count) {
  *count = 0;
  RecordSet records;
  Status s = ReadRecords(folder, kRecordsFile, kActivityRecordLength, &records);
  for (std::size_t i = 0; i < records.Count(); ++i) *count += Selected(records.At(i), cutoff);
  return s;
}

namespace {

// The key parts of records, from the fields their lines would hold: the
// names padded as the line pads them, looked up once per class or student.
class RecordParts {
 public:
  explicit RecordParts(const ExportLookups& lookups) : lookups_(lookups) {}
  KeyParts Of(std::string_view r) {
    const std::string& cls =
        Cached(classes_, ActivityClassNumber(r), 25, [&] { return ExportClassName(lookups_, r); });
    const std::string& stu =
        Cached(students_, ActivityClassNumber(r) * 65536LL + ActivityStudentNumber(r), 21,
               [&] { return ExportStudentName(lookups_, r); });
    const std::string code = NormalizeCourseCode(r.substr(0, 2));
    const std::string& course = Cached(
        courses_, (static_cast<unsigned char>(code[0]) << 8) | static_cast<unsigned char>(code[1]),
        8, [&] { return CourseTitle(code); });
    return {DateValue(r.substr(6, 2), r.substr(8, 2), r.substr(10, 2)), cls, stu, course};
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

// Writes `bytes` to `file` at `*at` and moves `*at` on.
Status Flush(File& file, std::string& bytes, std::uint64_t* at) {
  Status s = file.Write(*at, bytes);
  *at += bytes.size();
  bytes.clear();
  return s;
}

}  // namespace

Status WriteExport(Folder& folder, Clock& clock, const TitleTables& tables,
                   const std::optional<std::string>& cutoff, int order, std::string* file_name,
                   std::size_t* written) {
  *written = 0;
  ExportLookups lookups;
  Status s = LoadExportLookups(folder, &lookups);
  RecordSet records;
  if (s.ok()) s = ReadRecords(folder, kRecordsFile, kActivityRecordLength, &records);
  if (!s.ok()) return s;
  std::vector<std::uint32_t> picked;
  for (std::size_t i = 0; i < records.Count(); ++i) {
    if (Selected(records.At(i), cutoff)) picked.push_back(static_cast<std::uint32_t>(i));
  }
  RecordParts parts(lookups);
  const std::vector<std::uint32_t> sorted = ExportOrder(
      picked.size(), order, [&](std::size_t k) { return parts.Of(records.At(picked[k])); },
      [&](std::uint32_t a, std::uint32_t b) {
        return ComposeExportLine(tables, lookups, records.At(picked[a])) ==
               ComposeExportLine(tables, lookups, records.At(picked[b]));
      });

  // The lines go to a file of their own first; it takes the export's name
  // only once it is whole and on disk.
  const std::string temp = *file_name + ".part";
  std::unique_ptr<File> file;
  s = folder.OpenFile(temp, /*create=*/true, &file);
  if (s.ok()) s = file->Truncate(0);
  std::string bytes;
  std::uint64_t at = 0;
  for (std::size_t k = 0; s.ok() && k < sorted.size(); ++k) {
    AppendFileLine(ComposeExportLine(tables, lookups, records.At(picked[sorted[k]])), bytes);
    if (bytes.size() >= (1u << 20)) s = Flush(*file, bytes, &at);
  }
  if (s.ok()) s = Flush(*file, bytes, &at);
  if (s.ok()) s = file->Sync();
  file.reset();
  for (bool taken = true; s.ok() && taken;) {
    s = folder.PublishFile(temp, *file_name, &taken);
    if (s.ok() && taken) {
      // A file of that name appeared since it was chosen: the next one.
      *file_name = MakeOutputFileName(folder, clock);
      if (*file_name == "Error") {
        s = Status::Error(temp, "all twenty export file names of the day are taken");
      }
    }
  }
  if (!s.ok()) {
    (void)folder.RemoveFile(temp);
    return Status::Error(*file_name, s.what());
  }
  *written = sorted.size();
  return Status::OK();
}

std::string MakeOutputFileName(Folder& folder, Clock& clock) {
  for (int n = 1; n <= 20; ++n) {
    Date today = clock.Today();
    std::string name = "Records" + ZeroPad(today.month, 2) + ZeroPad(today.day, 2) +
                       ZeroPad(today.year % 100, 2) + "-" + ZeroPad(n, 2) + ".txt";
    if (!folder.FileExists(name)) return name;
  }
  return "Error";
}

}  // namespace quillon

#include "export/ExportWriter.h"

#include <cmath>
#include <cstdio>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/RecordFile.h"

namespace quillon {
namespace {

// A count field written as a plain decimal number.
std::string NumberText(std::string_view field) {
  double v = Val(field);
  if (v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", v);
  return buffer;
}

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

struct Keyed {
  std::string key;
  std::string line;
};

void QuickSort(std::vector<Keyed>& list, long low, long high) {
  long i = low, j = high;
  const std::string pivot = list[static_cast<std::size_t>((low + high) / 2)].key;
  while (i <= j) {
    while (list[static_cast<std::size_t>(i)].key < pivot && i < high) ++i;
    while (pivot < list[static_cast<std::size_t>(j)].key && j > low) --j;
    if (i <= j) {
      std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
      ++i;
      --j;
    }
  }
  if (low < j) QuickSort(list, low, j);
  if (i < high) QuickSort(list, i, high);
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

namespace {

// The value of two digits, or -1 when they are not two digits.
int TwoDigits(std::string_view s) {
  if (s.size() != 2 || s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9') return -1;
  return (s[0] - '0') * 10 + (s[1] - '0');
}

}  // namespace

std::string ExportDateKey(std::string_view line) {
  const std::string_view date = line.substr(54, 8);
  const int mm = TwoDigits(date.substr(0, 2)), dd = TwoDigits(date.substr(3, 2)),
            yy = TwoDigits(date.substr(6, 2));
  if (date[2] != '/' || date[5] != '/' || mm < 0 || dd < 0 || yy < 0) return "00000000";
  const int year = CenturyYear(yy);
  if (!ValidDate(year, mm, dd)) return "00000000";
  const char key[8] = {static_cast<char>('0' + year / 1000),
                       static_cast<char>('0' + year / 100 % 10),
                       static_cast<char>('0' + year / 10 % 10),
                       static_cast<char>('0' + year % 10),
                       date[0],
                       date[1],
                       date[3],
                       date[4]};
  return std::string(key, 8);
}

std::string ExportSortKey(std::string_view line, int order) {
  const std::string d = ExportDateKey(line);
  const std::string_view cls = line.substr(0, 25), stu = line.substr(25, 21),
                         course = line.substr(46, 8);
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
  if (lines.empty()) return;
  std::vector<Keyed> keyed;
  keyed.reserve(lines.size());
  for (std::string& line : lines) {
    std::string key = ExportSortKey(line, order);
    keyed.push_back({std::move(key), std::move(line)});
  }
  QuickSort(keyed, 0, static_cast<long>(keyed.size()) - 1);
  for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = std::move(keyed[i].line);
}

std::string RecordYymmdd(std::string_view record) {
  return std::string(record.substr(10, 2)) + std::string(record.substr(6, 4));
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

Status WriteExport(Folder& folder, const TitleTables& tables,
                   const std::optional<std::string>& cutoff, int order, std::string_view file_name,
                   std::size_t* written) {
  *written = 0;
  ExportLookups lookups;
  Status s = LoadExportLookups(folder, &lookups);
  if (!s.ok()) return s;
  RecordSet records;
  s = ReadRecords(folder, kRecordsFile, kActivityRecordLength, &records);
  if (!s.ok()) return s;
  std::vector<std::string> lines;
  lines.reserve(records.Count());
  for (std::size_t i = 0; i < records.Count(); ++i) {
    std::string_view r = records.At(i);
    if (cutoff && RecordYymmdd(r) < *cutoff) continue;
    lines.push_back(ComposeExportLine(tables, lookups, r));
  }
  QuickSortLines(lines, order);
  static constexpr struct {
    std::size_t first, width;
  } kFields[] = {{0, 25}, {25, 21}, {46, 8}, {54, 8}, {62, 36}, {98, 3}, {101, 3}, {104, 3}};
  std::string out;
  out.reserve(lines.size() * 80);
  for (const std::string& line : lines) {
    for (std::size_t f = 0; f < 8; ++f) {
      if (f > 0) out += '\t';
      const std::string_view field =
          std::string_view(line).substr(kFields[f].first, kFields[f].width);
      const std::size_t b = field.find_first_not_of(' ');
      if (b != std::string_view::npos) {
        out.append(field.substr(b, field.find_last_not_of(' ') - b + 1));
      }
    }
    out += "\r\n";
  }
  s = folder.WriteFile(file_name, out);
  if (!s.ok()) return s;
  *written = lines.size();
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

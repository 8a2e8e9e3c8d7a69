#include "export/ExportLine.h"

#include <array>
#include <cstring>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/RecordFile.h"

namespace quillon {
namespace {

// A count field written as a plain decimal number.
std::string NumberText(std::string_view field) { return GeneralNumber(Val(field)); }

}  // namespace

std::string ComposeExportLine(const TitleTables& tables, const ExportLookups& lookups,
                              std::string_view raw) {
  std::string record = FixWidth(raw, kActivityRecordLength);
  record.replace(0, 2, NormalizeCourseCode(ActivityCourseCode(record)));
  const std::string_view r = record;
  const std::string_view code = ActivityCourseCode(r);
  const Classification c = ClassifyActivity(r);
  std::string unit(ActivityUnitField(r)), lesson(ActivityLessonField(r));
  if (c.kind != ' ') {
    unit = ZeroPad(c.unit, 2);
    lesson = ZeroPad(c.lesson, 2);
  }
  const std::string_view mmddyy = ActivityDate(r);
  std::string line;
  line.reserve(108);
  AppendFixed(line, ExportClassName(lookups, r), 25);
  AppendFixed(line, ExportStudentName(lookups, r), 21);
  AppendFixed(line, CourseTitle(code), 8);
  line.append(mmddyy.substr(0, 2))
      .append("/")
      .append(mmddyy.substr(2, 2))
      .append("/")
      .append(mmddyy.substr(4, 2));
  AppendFixed(line, ActivityLabel(tables.catalogue, tables.unit_names, code, unit, lesson, c.kind),
              36);
  AppendFixed(line, NumberText(ActivityAttemptedField(r)), 3);
  AppendFixed(line, NumberText(ActivityCorrectField(r)), 3);
  AppendFixed(line, NumberText(ActivityMinutesField(r)), 3);
  return line;
}

namespace {

// The eight fields of an export line: first character (from 1) and width.
struct LineField {
  std::size_t first, width;
};
constexpr LineField kClass{1, 25}, kStudent{26, 21}, kCourse{47, 8}, kDate{55, 8}, kLabel{63, 36},
    kAttempted{99, 3}, kCorrect{102, 3}, kMinutes{105, 3};

// A field of `line` as the file holds it: blanks trimmed from both ends.
std::string_view FileField(std::string_view line, LineField f) {
  const std::string_view field = Field(line, f.first, f.width);
  const std::size_t b = field.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return field.substr(b, field.find_last_not_of(' ') - b + 1);
}

}  // namespace

void AppendExportFileLine(std::string_view line, std::string& out) {
  for (const LineField& f :
       {kClass, kStudent, kCourse, kDate, kLabel, kAttempted, kCorrect, kMinutes}) {
    if (f.first > 1) out += '\t';
    out.append(FileField(line, f));
  }
  out += "\r\n";
}

// The id of `bytes` in `texts`; bytes first seen get theirs from `find`,
// which gives the texts (one or two) that the bytes make.
template <typename Find>
std::uint32_t ExportFileLines::Look(Texts& texts, std::uint64_t bytes, const Find& find) {
  const auto [id, added] = texts.ids.Intern(bytes);
  if (added) {
    for (const std::string& t : find()) {
      texts.places.emplace_back(static_cast<std::uint32_t>(pool_.size()),
                                static_cast<std::uint32_t>(t.size()));
      pool_.append(t);
    }
  }
  return id;
}

void ExportFileLines::Append(std::string_view record, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + kLongest);
  out.resize(static_cast<std::size_t>(Put(record, out.data() + start) - out.data()));
}

char* ExportFileLines::Put(std::string_view r, char* p) {
  if (r.size() != kActivityRecordLength) {
    std::string line;
    AppendExportFileLine(ComposeExportLine(tables_, lookups_, r), line);
    std::memcpy(p, line.data(), line.size());
    return p + line.size();
  }
  // The texts come from the record's line, composed when bytes are first
  // seen: each text is made from those bytes only.
  const auto line = [&] {
    line_ = ComposeExportLine(tables_, lookups_, r);
    return std::string_view(line_);
  };
  const auto text = [](std::string_view l, LineField f) { return std::string(FileField(l, f)); };
  using One = std::array<std::string, 1>;
  using Two = std::array<std::string, 2>;
  const std::uint32_t names = Look(names_, KeyIds::PackAt<4>(r, 2), [&] {
    const std::string_view l = line();
    return One{text(l, kClass) + '\t' + text(l, kStudent) + '\t'};
  });
  const std::uint32_t lesson =
      Look(lesson_, KeyIds::PackAt<2>(r, 0) << 32 | KeyIds::PackAt<4>(r, 12), [&] {
        const std::string_view l = line();
        return Two{text(l, kCourse) + '\t', text(l, kLabel) + '\t'};
      });
  // A count's text is made from its own three characters, whichever count
  // they are.
  static constexpr LineField kCounts[] = {kAttempted, kCorrect, kMinutes};
  std::uint32_t counts[3];
  for (std::size_t k = 0; k < 3; ++k) {
    counts[k] = Look(counts_, KeyIds::PackAt<3>(r, 16 + 3 * k),
                     [&] { return One{text(line(), kCounts[k])}; });
  }
  const auto put = [&](const Texts& texts, std::size_t place) {
    const auto [at, size] = texts.places[place];
    std::memcpy(p, pool_.data() + at, size);
    p += size;
  };
  put(names_, names);
  put(lesson_, 2 * std::size_t{lesson});
  // mm/dd/yy from the date's six characters, blanks trimmed.
  const char date[8] = {r[6], r[7], '/', r[8], r[9], '/', r[10], r[11]};
  const std::string_view d = date[0] != ' ' && date[7] != ' '
                                 ? std::string_view(date, 8)
                                 : FileField(std::string_view(date, 8), {1, 8});
  std::memcpy(p, d.data(), d.size());
  p += d.size();
  *p++ = '\t';
  put(lesson_, 2 * std::size_t{lesson} + 1);
  put(counts_, counts[0]);
  *p++ = '\t';
  put(counts_, counts[1]);
  *p++ = '\t';
  put(counts_, counts[2]);
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

}  // namespace quillon

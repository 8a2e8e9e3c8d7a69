#include "export/ExportLine.h"

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

void AppendExportFileLine(std::string_view line, std::string& out) {
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

}  // namespace quillon

#include "cli/RecordCommands.h"

#include <algorithm>

#include "base/Text.h"
#include "classes/Erase.h"
#include "cli/CommandSupport.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "store/Purge.h"
#include "store/Read.h"
#include "diagnostics/DiagRecord.h"
#include "diagnostics/DiagnosticReport.h"
#include "export/ExportWriter.h"
#include "records/DisplayBuilder.h"
#include "records/PrintedReport.h"
#include "records/RecordLine.h"

namespace quillon::cli {
namespace {

using json = Json;

void PrintLines(Output& out, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) out.Line(line);
}

const char* ActivityName(char kind) {
  if (kind == 'T') return "Lesson Test";
  if (kind == 'U') return "Unit Test";
  return "Practice";
}

// One record line as the records window grades it.
json RecordJson(const TitleTables& tables, std::string_view line, double passing_grade) {
  const Grading g = GradeRecordLine(line, passing_grade);
  const std::string code(LineCourseCode(line));
  json grade = nullptr, passed = nullptr;
  if (g.is_test) {
    passed = g.passed;
  } else if (g.grade != ' ') {
    grade = std::string(1, g.grade);
  }
  return {{"name", JsonText(TrimRight(LineName(line)))},
          {"date", JsonDate(std::string(LineMmdd(line)) + std::string(LineYy(line)))},
          {"course_code", JsonText(code)},
          {"course", JsonText(TrimRight(CourseTitle(code)))},
          {"unit", ValInt(LineUnitField(line))},
          {"lesson", ValInt(LineLessonField(line))},
          {"title", JsonText(TrimRight(LessonTitleOf(tables, line)))},
          {"activity", ActivityName(LineKind(line))},
          {"attempted", g.attempted},
          {"correct", g.correct},
          {"percent", g.percent},
          {"grade", grade},
          {"passed", passed},
          {"minutes", g.minutes}};
}

const char* GroupWord(DataGroup group) {
  switch (group) {
    case DataGroup::kTestsOnly:
      return "tests";
    case DataGroup::kMostRecentTest:
      return "recent";
    case DataGroup::kAllRecords:
      break;
  }
  return "all";
}

const char* SortWord(SortBy sort) {
  switch (sort) {
    case SortBy::kPercent:
      return "percent";
    case SortBy::kDate:
      return "date";
    case SortBy::kLesson:
      return "lesson";
    case SortBy::kName:
      break;
  }
  return "name";
}

// A result as the diagnostic report scores it; its score is null for a
// test code that names no known test.
json DiagnosticJson(std::size_t entry, std::string_view record, std::string_view name) {
  json result = {
      {"entry", entry},
      {"student", {{"number", DiagStudentNumber(record)}, {"name", JsonText(TrimRight(name))}}},
      {"test_code", JsonText(DiagTestCode(record))},
      {"test", nullptr},
      {"date", JsonDate(DiagTestDate(record))},
      {"score", nullptr}};
  const std::optional<DiagnosticResult> scored = ScoreDiagnosticRecord(record);
  if (!scored) return result;
  const DiagnosticTest& test = *scored->test;
  std::string title = test.title;
  if (const std::size_t at = title.find(" Diagnostic Test Results"); at != std::string::npos) {
    title.resize(at);
  }
  result["test"] = title;
  json answers = json::array(), areas = json::array(), lessons = json::array();
  for (int p = 1; p <= 30; ++p) {
    const auto n = static_cast<std::size_t>(p);
    answers.push_back({{"problem", p},
                       {"answer", JsonText(std::string(1, scored->student_answer[n]))},
                       {"key", JsonText(std::string(1, scored->correct_answer[n]))},
                       {"correct", scored->correct[n]}});
  }
  for (std::size_t a = 0; a < test.area_names.size(); ++a) {
    areas.push_back({{"area", TrimRight(test.area_names[a])},
                     {"problems", test.area_counts[a]},
                     {"correct", scored->area_correct[a]},
                     {"rating", scored->area_rating[a]}});
  }
  // "PA0101UNIT 1: ...      LESSON - Adding Whole Numbers"
  for (const std::string& lesson : scored->lessons_to_study) {
    const std::size_t at = lesson.find("LESSON - ");
    const std::size_t cut = at == std::string::npos ? lesson.size() : at;
    lessons.push_back({{"code", lesson.substr(0, std::min<std::size_t>(6, cut))},
                       {"unit", Trim(lesson.substr(std::min<std::size_t>(6, cut), cut - 6))},
                       {"lesson", at == std::string::npos ? "" : lesson.substr(at + 9)}});
  }
  result["score"] = {{"correct", scored->number_correct},
                     {"problems", 30},
                     {"percent", scored->percent_correct},
                     {"answers", answers},
                     {"areas", areas},
                     {"lessons_to_study", lessons}};
  return result;
}

}  // namespace

int ClassesCommand(CommandContext& context, const ClassesOptions& o) {
  const std::vector<std::string> items = SortedClassList(context.folder);
  if (o.json) {
    json classes = json::array();
    for (const std::string& item : items) classes.push_back(JsonClass(item));
    PrintJson(context.out, {{"classes", classes}});
    return kExitDone;
  }
  for (const std::string& item : items) {
    context.out.Line(std::to_string(ClassNumberOf(item)) + '\t' +
                     GeneralNumber(PassingGradeOf(item)) + '\t' + ClassDisplayName(item));
  }
  return kExitDone;
}

int RosterCommand(CommandContext& context, const RosterOptions& o) {
  const std::string classrec = ClassRecordOf(context, o.of_class);
  std::vector<std::string> items;
  Check(FillRosterList(context.folder, ClassNumberOf(classrec), &items));
  std::sort(items.begin(), items.end());
  if (o.json) {
    json students = json::array();
    for (const std::string& item : items) {
      students.push_back(
          {{"number", StudentNumberOf(item)}, {"name", JsonText(StudentDisplayName(item))}});
    }
    PrintJson(context.out, {{"class", JsonClass(classrec)}, {"students", students}});
    return kExitDone;
  }
  for (const std::string& item : items) {
    context.out.Line(std::to_string(StudentNumberOf(item)) + '\t' + StudentDisplayName(item));
  }
  return kExitDone;
}

int RecordsCommand(CommandContext& context, const RecordsOptions& o) {
  Folder& folder = context.folder;
  const std::string classrec = ClassRecordOf(context, o.of_class);
  DisplayRequest request;
  request.classnum = ClassNumberOf(classrec);
  request.studentnum = o.student;
  request.data_group = o.group;
  request.sort_by = o.sort;
  request.sort_direction = o.direction;
  const double passing_grade = PassingGradeOf(classrec);
  Tables tables;
  LoadTables(folder, &tables);
  if (o.paper) {
    RecordsReport report;
    Check(BuildRecordsReport(folder, request.classnum, request.studentnum, request.data_group,
                             request.sort_direction, &report));
    if (report.lines.empty()) {
      context.out.Line("No records found.");
      return kExitNothing;
    }
    PrintLines(context.out,
               RecordsReportHeadings(report.heading_name, passing_grade, request.data_group));
    ForEachReportLine(tables.view(), report.lines, passing_grade,
                      [&](const std::string& line) { context.out.Line(line); });
    return kExitDone;
  }
  WorkingLists lists;
  DisplayResult result;
  Check(DisplayNew(folder, tables.view(), request, lists, &result));
  if (o.json) {
    json records = json::array();
    for (std::size_t i = 0; i < result.lines.size(); ++i) {
      records.push_back(RecordJson(tables.view(), result.lines.RecordLine(i), passing_grade));
    }
    PrintJson(
        context.out,
        {{"class", JsonClass(classrec)},
         {"student", o.student == kAllStudents ? json(nullptr) : json(o.student)},
         {"group", GroupWord(o.group)},
         {"sort", SortWord(o.sort)},
         {"direction", o.direction == SortDirection::kDecreasing ? "decreasing" : "increasing"},
         {"records", records}});
    return result.lines.empty() ? kExitNothing : kExitDone;
  }
  if (result.lines.empty()) {
    context.out.Line("No records found.");
    return kExitNothing;
  }
  for (std::size_t i = 0; i < result.lines.size(); ++i) {
    context.out.Line(FormatRecordLine(tables.view(), result.lines.RecordLine(i), passing_grade));
  }
  return kExitDone;
}

int DiagnosticsCommand(CommandContext& context, const DiagnosticsOptions& o) {
  Folder& folder = context.folder;
  const std::string classrec = ClassRecordOf(context, o.of_class);
  const int classnum = ClassNumberOf(classrec);
  std::vector<std::string> entries;
  Check(DiagListEntries(folder, classnum, &entries));
  std::size_t first = 1;  // the number of the first entry shown
  if (o.entry) {
    const int k = *o.entry;
    if (k > static_cast<int>(entries.size())) {
      throw Exit{kExitCommandLine, "--entry " + std::to_string(k) + ": class " +
                                       std::to_string(classnum) + " has " +
                                       std::to_string(entries.size()) + " diagnostic results"};
    }
    entries = {entries[static_cast<std::size_t>(k - 1)]};
    first = static_cast<std::size_t>(k);
  }
  Roster roster;
  if (!entries.empty()) Check(LoadRoster(folder, &roster));
  if (o.json) {
    json results = json::array();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const std::string record(DiagEntryRecord(entries[i]));
      results.push_back(
          DiagnosticJson(first + i, record, roster.Name(classnum, DiagStudentNumber(record))));
    }
    PrintJson(context.out, {{"class", JsonClass(classrec)}, {"results", results}});
    return entries.empty() ? kExitNothing : kExitDone;
  }
  if (entries.empty()) {
    context.out.Line("No diagnostic results found.");
    return kExitNothing;
  }
  bool first_report = true;
  for (const std::string& entry : entries) {
    const std::string record(DiagEntryRecord(entry));
    const std::string& name = roster.Name(classnum, DiagStudentNumber(record));
    if (o.paper) {
      for (const auto& page : DiagnosticReportPages(record, name)) {
        PrintLines(context.out, page);
        context.out.Line("\f");
      }
      continue;
    }
    if (!first_report) PrintLines(context.out, ReportSeparator());
    first_report = false;
    PrintLines(context.out, DiagnosticReportLines(record, name));
  }
  return kExitDone;
}

int ExportCommand(CommandContext& context, const ExportOptions& o) {
  Folder& folder = context.folder;
  Tables tables;
  LoadTables(folder, &tables);
  std::string name = MakeOutputFileName(folder, context.clock);
  if (ToUpper(name) == "ERROR") {
    const Date today = context.clock.Today();
    const std::string first = "Records" + ZeroPad(today.month, 2) + ZeroPad(today.day, 2) +
                              ZeroPad(today.year % 100, 2) + "-01.txt";
    throw Exit{kExitFiles,
               "An error has occurred while trying\nto create a name for the output file "
               "(-01 to -20 all exist)",
               folder.FullPath(first)};
  }
  std::size_t count = 0;
  Check(CountExportRecords(folder, o.cutoff, &count));
  if (count == 0) {
    context.out.Line("No records found.");
    return kExitNothing;
  }
  std::size_t written = 0;
  Check(WriteExport(folder, context.clock, tables.view(), o.cutoff, o.order, &name, &written));
  context.out.TerminalLine(folder.FullPath(name));
  return kExitDone;
}

int EraseCommand(CommandContext& context, const EraseOptions& o) {
  Folder& folder = context.folder;
  const int classnum = ClassNumberOf(ClassRecordOf(context, o.of_class));
  const Students who = o.student == 0 ? Students::WholeClass(ClassNum(classnum))
                                      : Students::One(ClassNum(classnum), StudentNum(o.student));
  if (!o.yes) {
    std::size_t count = 0;
    Check(CountPurgeable(folder, o.diagnostics, who, &count));
    context.out.Line("Would erase " + std::to_string(count) +
                     " records; nothing was erased (add --yes).");
    return kExitNothing;
  }
  // What goes is kept in the bin, as the windows' erases keep it.
  EraseResult result;
  const DateTime now = context.clock.Now();
  Check(o.diagnostics ? EraseDiagnosticResults(folder, now, who, &result)
                      : EraseActivityRecords(folder, now, who, &result));
  if (result.finished_earlier > 0) {
    context.out.Line("Finished an interrupted removal of " +
                     std::to_string(result.finished_earlier) + " records first.");
  }
  context.out.Line("Erased " + std::to_string(o.diagnostics ? result.results : result.records) +
                   " records.");
  return kExitDone;
}

}  // namespace quillon::cli

#include "cli/SummaryCommand.h"

#include "cli/CommandSupport.h"
#include "data/ClassFiles.h"
#include "store/Read.h"
#include "records/Summary.h"
#include "records/SummaryText.h"

namespace quillon::cli {
namespace {

using json = Json;

json OptionalNumber(const std::optional<long long>& n) { return n ? json(*n) : json(nullptr); }

json OptionalDay(const std::optional<int>& day) {
  return day ? json(DayKeyIso(*day)) : json(nullptr);
}

}  // namespace

int SummaryCommand(CommandContext& context, const SummaryOptions& o) {
  const std::string classrec = ClassRecordOf(context, o.of_class);
  SummaryRequest request;
  request.classnum = ClassNumberOf(classrec);
  request.passing_grade = PassingGradeOf(classrec);
  request.range = SummaryRange{o.from, o.to};
  WorkingLists lists;
  std::vector<SummaryRow> rows;
  Check(BuildClassSummary(context.folder, lists, false, request, &rows));
  if (o.json) {
    json students = json::array();
    for (const SummaryRow& row : rows) {
      students.push_back({{"number", row.student},
                          {"name", JsonText(row.name)},
                          {"tests", row.tests},
                          {"passed", row.passed},
                          {"failed", row.failed},
                          {"average", OptionalNumber(row.average)},
                          {"practice", row.practice},
                          {"practice_percent", OptionalNumber(row.practice_percent)},
                          {"minutes", row.minutes},
                          {"last_work", OptionalDay(row.last_work)},
                          {"needs_help", row.needs_help}});
    }
    PrintJson(context.out, {{"class", JsonClass(classrec)},
                            {"from", OptionalDay(o.from)},
                            {"to", OptionalDay(o.to)},
                            {"students", students}});
    return rows.empty() ? kExitNothing : kExitDone;
  }
  if (rows.empty()) {
    context.out.Line("No students found.");
    return kExitNothing;
  }
  if (o.csv) {
    // The spreadsheet file's own bytes: UTF-8 already, whatever the terminal.
    context.out.out() << SummaryCsv(rows);
  } else {
    context.out.Text(SummaryTabLines(rows));
  }
  return kExitDone;
}

}  // namespace quillon::cli

#include "cli/OverviewCommand.h"

#include "cli/CommandSupport.h"
#include "data/ClassFiles.h"
#include "diagnostics/ClassOverview.h"
#include "diagnostics/ClassOverviewText.h"
#include "store/Read.h"

namespace quillon::cli {

int OverviewCommand(CommandContext& context, const OverviewOptions& o) {
  const std::string classrec = ClassRecordOf(context, o.of_class);
  std::vector<std::string> records;
  Check(ReadDiagRecords(context.folder, &records));
  Roster roster;
  Check(LoadRoster(context.folder, &roster));
  OverviewRequest request;
  request.classnum = ClassNumberOf(classrec);
  request.test_code =
      o.test.empty() ? MostResultsTest(ClassTests(records, request.classnum)) : o.test;
  request.latest_only = !o.all_results;
  request.range = SummaryRange{o.from, o.to};
  const ClassOverview overview = SumClassResults(records, roster, request);
  if (overview.results == 0) {
    context.out.Line("No diagnostic results found.");
    return kExitNothing;
  }
  const std::string class_name = ClassDisplayName(classrec);
  if (o.csv) {
    // The spreadsheet file's own bytes: UTF-8 already, whatever the terminal.
    context.out.out() << OverviewCsv(overview, class_name);
  } else if (o.json) {
    context.out.out() << OverviewJson(overview, class_name);
  } else {
    context.out.Text(OverviewTabLines(overview, class_name));
  }
  return kExitDone;
}

}  // namespace quillon::cli

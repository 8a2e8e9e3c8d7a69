#include "cli/OverviewCommand.h"

#include <algorithm>
#include <vector>

#include "cli/CommandExit.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "diagnostics/ClassOverview.h"
#include "diagnostics/ClassOverviewText.h"

namespace quillon {
namespace {

// The name of class `classnum` as the windows' class list shows it.
std::string ClassName(Folder& folder, int classnum) {
  ClassList list;
  cli::Check(FillClassList(folder, &list));
  if (list.bad_class_number) throw cli::Exit{3, "Class number <=0!"};
  std::sort(list.items.begin(), list.items.end());
  for (const std::string& item : list.items) {
    if (ClassNumberOf(item) == classnum) return ClassDisplayName(item);
  }
  throw cli::Exit{2, "there is no class " + std::to_string(classnum) + " in CLASSES.DAT"};
}

}  // namespace

int RunOverviewCommand(Folder& folder, const OverviewOptions& options, std::ostream& out,
                       std::ostream& err) {
  try {
    const SummaryRange& range = options.range;
    if (range.from && range.to && *range.from > *range.to) {
      throw cli::Exit{2, "--from is after --to"};
    }
    const std::string class_name = ClassName(folder, options.classnum);
    std::vector<std::string> records;
    cli::Check(ReadDiagRecords(folder, &records));
    Roster roster;
    cli::Check(roster.Load(folder));
    OverviewRequest request;
    request.classnum = options.classnum;
    request.test_code = options.test.empty()
                            ? MostResultsTest(ClassTests(records, options.classnum))
                            : options.test;
    request.latest_only = !options.all_results;
    request.range = range;
    const ClassOverview overview = SumClassResults(records, roster, request);
    if (overview.results == 0) {
      out << "No diagnostic results found.\n";
      return 1;
    }
    switch (options.form) {
      case OverviewOptions::Form::kTabs:
        out << OverviewTabLines(overview, class_name);
        break;
      case OverviewOptions::Form::kCsv:
        out << OverviewCsv(overview, class_name);
        break;
      case OverviewOptions::Form::kJson:
        out << OverviewJson(overview, class_name);
        break;
    }
    return 0;
  } catch (const cli::Exit& e) {
    return cli::Fail(e, err, "");
  }
}

}  // namespace quillon

// quillon-cli overview: the class overview of a diagnostic test (the
// problems missed, the skill areas' ratings and the lessons to reteach) as
// tab-separated lines, the CSV file's bytes or JSON.
#pragma once

#include <ostream>
#include <string>

#include "platform/Folder.h"
#include "records/Summary.h"

namespace quillon {

struct OverviewOptions {
  int classnum = 0;          // 1-99
  std::string test;          // "C1", "C2", or "" for the class's test with the most results
  bool all_results = false;  // every result, not only each student's latest
  SummaryRange range;        // --from, --to
  enum class Form { kTabs, kCsv, kJson } form = Form::kTabs;
};

// Runs the command on the program folder. Returns 0 done, 1 the class has
// no results of the test (within the range), 2 a class that does not exist
// or a From after the To, 3 a file that cannot be read; each failure is
// said on `err` in one line. The tab-separated lines are single-byte text
// as the files hold it; the CSV file is UTF-8, the JSON ASCII.
int RunOverviewCommand(Folder& folder, const OverviewOptions& options, std::ostream& out,
                       std::ostream& err);

}  // namespace quillon

#include "cli/WatchCommand.h"

#include <algorithm>

#include "cli/CommandSupport.h"
#include "cli/WatchPacing.h"
#include "records/LabNow.h"
#include "records/Summary.h"

namespace quillon::cli {
namespace {

Json OrNull(const std::optional<long long>& n) { return n ? Json(*n) : Json(nullptr); }

Json JsonWork(const LabWork& work, const LabLine& line) {
  return {{"time", ClockTime(work.at)},
          // false: the record was there when the watch began, and came in
          // at that time or before
          {"time_known", work.known},
          {"class", {{"number", line.classnum}, {"name", JsonText(line.class_name)}}},
          {"student", {{"number", line.student}, {"name", JsonText(line.student_name)}}},
          {"title", JsonText(line.title)},
          {"activity", line.activity},
          {"percent", OrNull(line.percent)},
          {"result", line.result.empty() ? Json(nullptr) : Json(line.result)},
          {"minutes", OrNull(line.minutes)}};
}

}  // namespace

int WatchCommand(CommandContext& context, const WatchOptions& o) {
  Tables tables;
  LoadTables(context.folder, &tables);
  LabWatch watch(context.folder, context.clock, tables.view());
  if (context.pacing != nullptr) context.pacing->Begin(context.folder);
  std::vector<std::string> said;  // the notes of the last look, said once each
  bool first = true;
  do {
    std::vector<LabWork> arrived;
    const Status s = watch.Look(&arrived);
    if (first) Check(s);
    first = false;
    std::vector<std::string> notes = watch.notes();
    if (!s.ok()) notes.insert(notes.begin(), s.ToString());
    for (const std::string& note : notes) {
      if (std::find(said.begin(), said.end(), note) == said.end()) context.out.Note(note);
    }
    said = std::move(notes);
    const LocalSeconds midnight = SecondsOf(DateTime{context.clock.Today()});
    for (const LabWork& work : arrived) {
      const LabLine line = watch.Describe(work);
      if (o.classnum != kAllClasses && line.classnum != o.classnum) continue;
      if (o.since && work.at < midnight + *o.since * 60LL) continue;
      if (o.json) {
        context.out.out() << JsonWork(work, line)
                                 .dump(-1, ' ', !context.out.encoding().utf8(),
                                       nlohmann::json::error_handler_t::replace)
                          << '\n';
      } else {
        context.out.Line(LabTabLine(work, line));
      }
    }
    context.out.out().flush();
  } while (context.pacing != nullptr && context.pacing->Next());
  return kExitDone;
}

}  // namespace quillon::cli

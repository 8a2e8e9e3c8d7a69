#include "cli/BinCommands.h"

#include <algorithm>

#include "cli/CommandSupport.h"
#include "data/ActivityRecord.h"
#include "store/Bin.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "store/Restore.h"
#include "records/Summary.h"

namespace quillon::cli {
namespace {

using json = Json;

// A text that stays one cell of a tab-separated line.
std::string Cell(std::string text) {
  std::replace(text.begin(), text.end(), '\t', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

std::string Entries(std::size_t n) { return std::to_string(n) + (n == 1 ? " entry" : " entries"); }

// Whether `id` names an entry file of the bin. Only a name of letters,
// digits and hyphens is looked for: nothing given on the command line
// reaches outside the bin.
bool InBin(Folder& folder, const std::string& id) {
  return ValidId(id) && folder.FileExists(std::string(kBinFolder) + "/" + id + ".qbn");
}

Exit NotInBin(const std::string& id) {
  return Exit{kExitCommandLine,
              "there is no entry " + id + " in the bin (quillon-cli bin lists them)"};
}

// "12/09/26 23:31" as "2026-12-09T23:31"; null when it is not that form.
json JsonWhen(std::string_view when) {
  if (when.size() != 14 || when[2] != '/' || when[5] != '/' || when[8] != ' ' || when[11] != ':') {
    return nullptr;
  }
  const json day = JsonDate(std::string(when.substr(0, 2)) + std::string(when.substr(3, 2)) +
                            std::string(when.substr(6, 2)));
  const std::string hh(when.substr(9, 2)), mm(when.substr(12, 2));
  if (day.is_null() || hh.find_first_not_of("0123456789") != std::string::npos ||
      mm.find_first_not_of("0123456789") != std::string::npos) {
    return nullptr;
  }
  return day.get<std::string>() + "T" + hh + ":" + mm;
}

int List(CommandContext& context, bool as_json) {
  std::vector<BinEntry> entries;
  Check(ListBin(context.folder, &entries));
  if (as_json) {
    json list = json::array();
    for (const BinEntry& e : entries) {
      json item = {{"id", e.note.id},
                   {"when", JsonWhen(e.note.when)},
                   {"what", JsonText(e.note.what)},
                   {"activity_records", e.Count(kRecordsFile)},
                   {"diagnostic_results", e.Count(kDiagFile)},
                   {"roster_and_class_records", e.Count(kStudentsFile) + e.Count(kClassesFile)}};
      if (!e.damage.empty()) item["damaged"] = JsonText(e.damage);
      list.push_back(std::move(item));
    }
    PrintJson(context.out, {{"entries", list}});
    return entries.empty() ? kExitNothing : kExitDone;
  }
  if (entries.empty()) {
    context.out.Note("The bin is empty.");
    return kExitNothing;
  }
  for (const BinEntry& e : entries) {
    // A damaged entry is listed so that it can be deleted.
    const std::string what = e.damage.empty() ? Cell(e.note.what) : "damaged: " + Cell(e.damage);
    context.out.Line(e.note.id + '\t' + Cell(e.note.when) + '\t' + what + '\t' +
                     std::to_string(e.Count(kRecordsFile)) + '\t' +
                     std::to_string(e.Count(kDiagFile)) + '\t' +
                     std::to_string(e.Count(kStudentsFile) + e.Count(kClassesFile)));
  }
  return kExitDone;
}

int Delete(CommandContext& context, const std::string& id, bool yes) {
  if (!InBin(context.folder, id)) throw NotInBin(id);
  // A damaged entry can be deleted, never restored.
  BinEntry entry;
  const Status read = ReadBinEntry(context.folder, id, &entry);
  const std::string what = read.ok() ? Cell(entry.note.what) : "damaged: " + Cell(entry.damage);
  if (!yes) {
    context.out.Line("Would delete " + id + " (" + what +
                     ") for good; nothing was deleted (add --yes).");
    return kExitNothing;
  }
  // Under the folder's lock, after finishing any restore cut short.
  Check(DeleteBinEntry(context.folder, id));
  context.out.Line("Deleted " + id + " (" + what + ").");
  return kExitDone;
}

int Empty(CommandContext& context, bool yes) {
  std::vector<BinEntry> entries;
  Check(ListBin(context.folder, &entries));
  if (entries.empty()) {
    context.out.Note("The bin is empty.");
    return kExitNothing;
  }
  if (!yes) {
    context.out.Line("Would delete " + Entries(entries.size()) +
                     " for good; nothing was deleted (add --yes).");
    return kExitNothing;
  }
  Check(EmptyBin(context.folder));
  context.out.Line("Deleted " + Entries(entries.size()) + ".");
  return kExitDone;
}

}  // namespace

int BinCommand(CommandContext& context, const BinOptions& o) {
  if (o.delete_id) return Delete(context, *o.delete_id, o.yes);
  if (o.empty) return Empty(context, o.yes);
  return List(context, o.json);
}

int RestoreCommand(CommandContext& context, const RestoreOptions& o) {
  Folder& folder = context.folder;
  if (!InBin(folder, o.id)) throw NotInBin(o.id);
  BinEntry entry;
  Check(ReadBinEntry(folder, o.id, &entry));
  RestorePlan plan;
  Check(PlanRestore(folder, entry, o.renumber, &plan));
  if (!plan.conflict.empty() && !o.renumber) {
    throw Exit{kExitNothing,
               Cell(plan.conflict) +
                   "; nothing was restored (add --renumber to restore under the lowest free "
                   "numbers)",
               "", true};
  }
  // Renumbered: under which numbers is the plan's to say; why, is here.
  const std::string why =
      plan.conflict.empty() ? "" : ", under the lowest free numbers (" + Cell(plan.conflict) + ")";
  if (!o.yes) {
    context.out.Line("Would restore: " + Cell(plan.Describe(entry)) + why +
                     "; nothing was restored (add --yes).");
    return kExitNothing;
  }
  Check(RestoreBinEntry(folder, o.id, o.renumber, context.clock.Today(), &plan));
  context.out.Line("Restored: " + Cell(plan.Describe(entry)) + why + ".");
  return kExitDone;
}

}  // namespace quillon::cli

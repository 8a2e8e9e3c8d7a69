#include "cli/BinCommands.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "cli/CommandExit.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "store/Bin.h"
#include "store/Restore.h"

namespace quillon {
namespace {

using cli::Check;
using cli::Exit;
using cli::Fail;
using cli::Help;

// The words of a command line: the switches in `flags`, the options in
// `valued` with their values, and at most one word that is neither (the
// entry's ID) where `positional` allows it.
struct Line {
  std::vector<std::string> flags;
  std::optional<std::string> value;  // of the one valued option given
  std::optional<std::string> word;
  bool Has(const std::string& flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
  }
};
Line Parse(const std::vector<std::string>& args, const std::vector<std::string>& flags,
           const std::string& valued, bool positional) {
  Line line;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help") throw Help{};
    if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
      if (line.Has(a)) throw Exit{2, a + " is given twice", true};
      line.flags.push_back(a);
    } else if (!valued.empty() && a == valued) {
      if (line.value) throw Exit{2, a + " is given twice", true};
      if (i + 1 >= args.size()) throw Exit{2, a + " needs a value", true};
      line.value = args[++i];
    } else if (positional && !line.word && a.rfind("--", 0) != 0) {
      line.word = a;
    } else {
      throw Exit{2, "unknown argument: " + a, true};
    }
  }
  return line;
}

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
  const bool name_ok =
      !id.empty() && id.size() <= 64 && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               c == '-';
      });
  return name_ok && folder.FileExists(std::string(kBinFolder) + "/" + id + ".qbn");
}

Exit NotInBin(const std::string& id) {
  return Exit{2, "there is no entry " + id + " in the bin (quillon-cli bin lists them)"};
}

int List(Folder& folder, std::ostream& out, std::ostream& err) {
  std::vector<BinEntry> entries;
  Check(ListBin(folder, &entries));
  if (entries.empty()) {
    err << "The bin is empty.\n";
    return 1;
  }
  for (const BinEntry& e : entries) {
    out << e.note.id << '\t' << Cell(e.note.when) << '\t' << Cell(e.note.what) << '\t'
        << e.Count(kRecordsFile) << '\t' << e.Count(kDiagFile) << '\t'
        << e.Count(kStudentsFile) + e.Count(kClassesFile) << '\n';
  }
  return 0;
}

int Delete(Folder& folder, const std::string& id, bool yes, std::ostream& out) {
  if (!InBin(folder, id)) throw NotInBin(id);
  // A damaged entry (which the list leaves out) can still be deleted.
  BinEntry entry;
  const Status read = ReadBinEntry(folder, id, &entry);
  const std::string what = read.ok() ? Cell(entry.note.what) : "damaged: it cannot be read";
  if (!yes) {
    out << "Would delete " << id << " (" << what
        << ") for good; nothing was deleted (add --yes).\n";
    return 1;
  }
  // Under the folder's lock, after finishing any restore cut short.
  Check(DeleteBinEntry(folder, id));
  out << "Deleted " << id << " (" << what << ").\n";
  return 0;
}

int Empty(Folder& folder, bool yes, std::ostream& out, std::ostream& err) {
  std::vector<BinEntry> entries;
  Check(ListBin(folder, &entries));
  if (entries.empty()) {
    err << "The bin is empty.\n";
    return 1;
  }
  if (!yes) {
    out << "Would delete " << Entries(entries.size())
        << " for good; nothing was deleted (add --yes).\n";
    return 1;
  }
  Check(EmptyBin(folder));
  out << "Deleted " << Entries(entries.size()) << ".\n";
  return 0;
}

}  // namespace

int RunBinCommand(Folder& folder, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err, const std::string& usage) {
  try {
    const Line line = Parse(args, {"--empty", "--yes"}, "--delete", /*positional=*/false);
    const bool yes = line.Has("--yes");
    if (line.value && line.Has("--empty")) {
      throw Exit{2, "--delete and --empty do not go together", true};
    }
    if (line.value) return Delete(folder, *line.value, yes, out);
    if (line.Has("--empty")) return Empty(folder, yes, out, err);
    if (yes) throw Exit{2, "--yes goes with --delete ID or --empty", true};
    return List(folder, out, err);
  } catch (const Help&) {
    out << usage;
    return 0;
  } catch (const Exit& e) {
    return Fail(e, err, usage);
  }
}

int RunRestoreCommand(Folder& folder, const Date& today, const std::vector<std::string>& args,
                      std::ostream& out,
                      std::ostream& err, const std::string& usage) {
  try {
    const Line line = Parse(args, {"--yes", "--renumber"}, "", /*positional=*/true);
    if (!line.word) throw Exit{2, "the ID of the entry to restore is required", true};
    const std::string& id = *line.word;
    const bool renumber = line.Has("--renumber");
    if (!InBin(folder, id)) throw NotInBin(id);
    BinEntry entry;
    Check(ReadBinEntry(folder, id, &entry));
    RestorePlan plan;
    Check(PlanRestore(folder, entry, renumber, &plan));
    if (!plan.conflict.empty() && !renumber) {
      throw Exit{1, Cell(plan.conflict) +
                        "; nothing was restored (add --renumber to restore under the lowest "
                        "free numbers)"};
    }
    // Renumbered: under which numbers is the plan's to say; why, is here.
    const std::string why = plan.conflict.empty()
                                ? ""
                                : ", under the lowest free numbers (" + Cell(plan.conflict) + ")";
    if (!line.Has("--yes")) {
      out << "Would restore: " << Cell(plan.Describe(entry)) << why
          << "; nothing was restored (add --yes).\n";
      return 1;
    }
    Check(RestoreBinEntry(folder, id, renumber, today, &plan));
    out << "Restored: " << Cell(plan.Describe(entry)) << why << ".\n";
    return 0;
  } catch (const Help&) {
    out << usage;
    return 0;
  } catch (const Exit& e) {
    return Fail(e, err, usage);
  }
}

}  // namespace quillon

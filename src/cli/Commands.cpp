#include "cli/Commands.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>

#include "base/Text.h"
#include "classes/Erase.h"
#include "cli/BinCommands.h"
#include "cli/CommandExit.h"
#include "cli/ImportCommands.h"
#include "cli/ProgramFolder.h"
#include "cli/SummaryCommand.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"
#include "data/Purge.h"
#include "diagnostics/DiagRecord.h"
#include "diagnostics/DiagnosticReport.h"
#include "export/ExportWriter.h"
#include "platform/PosixFolder.h"
#include "records/DisplayBuilder.h"
#include "records/PrintedReport.h"
#include "records/RecordLine.h"

namespace quillon {
namespace {

using cli::Check;
using cli::Exit;
using cli::Help;

constexpr char kUsage[] =
    "usage: quillon-cli [--folder DIR] COMMAND [OPTIONS]\n"
    "  records --class N [--student N] [--group all|tests|recent]\n"
    "          [--sort name|percent|date|lesson] [--direction increasing|decreasing] [--paper]\n"
    "  diagnostics --class N [--entry K] [--paper]\n"
    "  export [--since mm/dd/yy] [--order 1|2|3|4|5]\n"
    "  erase --class N [--student N] [--diagnostics] --yes\n"
    "  classes\n"
    "  roster --class N\n"
    "  import --class N [--name-column K [--first-column K]] [--password-column K]\n"
    "         [--yes] FILE\n"
    "  slips --class N [--student N]\n"
    "  summary --class N [--from mm/dd/yy] [--to mm/dd/yy] [--csv]\n"
    "  bin [--delete ID | --empty] [--yes]\n"
    "  restore ID [--renumber] --yes\n"
    "DIR is the program folder (default: the current directory); ID is an entry of\n"
    "the bin of erased records, as bin lists them.\n";

Exit Usage(const std::string& message) { return {2, message, true}; }

// A value that is not one the option takes: one line, no usage.
Exit WrongValue(const std::string& message) { return {2, message, false}; }

// The options of one command: "--name value" pairs and "--flag" switches.
class Options {
 public:
  Options(const std::vector<std::string>& args, std::size_t from,
          const std::vector<std::string>& valued, const std::vector<std::string>& flags) {
    for (std::size_t i = from; i < args.size(); ++i) {
      const std::string& a = args[i];
      if (a == "--help") throw Help{};
      if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
        flags_.push_back(a);
      } else if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
        if (i + 1 >= args.size()) throw Usage(a + " needs a value");
        if (values_.count(a)) throw Usage(a + " is given twice");
        values_[a] = args[++i];
      } else {
        throw Usage("unknown argument: " + a);
      }
    }
  }
  bool Flag(const std::string& name) const {
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
  }
  std::optional<std::string> Value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  // A whole number from `low` to `high`; `fallback` when absent, an error
  // when required and absent.
  int Number(const std::string& name, int low, int high, std::optional<int> fallback) const {
    std::optional<std::string> v = Value(name);
    if (!v) {
      if (!fallback) throw Usage(name + " is required");
      return *fallback;
    }
    if (v->empty() || v->size() > 6 || v->find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(*v) < low || std::stoi(*v) > high) {
      throw WrongValue(name + " takes a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ", not \"" + *v + "\"");
    }
    return std::stoi(*v);
  }
  // The value of the word given, from `words` (word, value) in the order
  // the usage lists them; `fallback` when absent.
  template <typename T>
  T Choice(const std::string& name, const std::vector<std::pair<std::string, T>>& words,
           T fallback) const {
    std::optional<std::string> v = Value(name);
    if (!v) return fallback;
    for (const auto& [word, value] : words) {
      if (*v == word) return value;
    }
    std::string all;
    for (const auto& w : words) all += (all.empty() ? "" : "|") + w.first;
    throw WrongValue(name + " takes " + all + ", not \"" + *v + "\"");
  }

 private:
  std::map<std::string, std::string> values_;
  std::vector<std::string> flags_;
};

// The class list as the windows fill it, in their (sorted) list order.
std::vector<std::string> SortedClassList(Folder& folder) {
  ClassList list;
  Check(FillClassList(folder, &list));
  if (list.bad_class_number) throw Exit{3, "Class number <=0!"};
  std::sort(list.items.begin(), list.items.end());
  return list.items;
}

// The class record of `classnum`, as the window's selection gives it.
std::string ClassRecordOf(Folder& folder, int classnum) {
  for (const std::string& item : SortedClassList(folder)) {
    if (ClassNumberOf(item) == classnum) return item;
  }
  throw WrongValue("there is no class " + std::to_string(classnum) + " in CLASSES.DAT");
}

// The lesson catalogue and the unit names the titles come from.
struct Tables {
  LessonCatalogue catalogue;
  UnitNameTable unit_names;
  TitleTables view() const { return {catalogue, unit_names}; }
};

void LoadTables(Folder& folder, Tables* tables) {
  Check(LoadLessons(folder, &tables->catalogue));
  FillUnitTestNames(&tables->unit_names);
}

void PrintLines(std::ostream& out, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) out << line << '\n';
}

int Records(Folder& folder, const Options& o, std::ostream& out) {
  DisplayRequest request;
  request.classnum = o.Number("--class", 1, 99, std::nullopt);
  request.studentnum = o.Number("--student", 1, 99, kAllStudents);
  request.data_group = o.Choice<DataGroup>("--group",
                                           {{"all", DataGroup::kAllRecords},
                                            {"tests", DataGroup::kTestsOnly},
                                            {"recent", DataGroup::kMostRecentTest}},
                                           DataGroup::kAllRecords);
  request.sort_by = o.Choice<SortBy>("--sort",
                                     {{"name", SortBy::kName},
                                      {"percent", SortBy::kPercent},
                                      {"date", SortBy::kDate},
                                      {"lesson", SortBy::kLesson}},
                                     SortBy::kName);
  request.sort_direction = o.Choice<SortDirection>(
      "--direction",
      {{"increasing", SortDirection::kIncreasing}, {"decreasing", SortDirection::kDecreasing}},
      SortDirection::kIncreasing);
  const double passing_grade = PassingGradeOf(ClassRecordOf(folder, request.classnum));
  Tables tables;
  LoadTables(folder, &tables);
  if (o.Flag("--paper")) {
    RecordsReport report;
    Check(BuildRecordsReport(folder, request.classnum, request.studentnum, request.data_group,
                             request.sort_direction, &report));
    if (report.lines.empty()) {
      out << "No records found.\n";
      return 1;
    }
    PrintLines(out, RecordsReportHeadings(report.heading_name, passing_grade, request.data_group));
    ForEachReportLine(tables.view(), report.lines, passing_grade,
                      [&](const std::string& line) { out << line << '\n'; });
    return 0;
  }
  WorkingLists lists;
  DisplayResult result;
  Check(DisplayNew(folder, tables.view(), request, lists, &result));
  if (result.lines.empty()) {
    out << "No records found.\n";
    return 1;
  }
  for (std::size_t i = 0; i < result.lines.size(); ++i) {
    out << FormatRecordLine(tables.view(), result.lines.RecordLine(i), passing_grade) << '\n';
  }
  return 0;
}

int Diagnostics(Folder& folder, const Options& o, std::ostream& out) {
  int classnum = o.Number("--class", 1, 99, std::nullopt);
  ClassRecordOf(folder, classnum);
  std::vector<std::string> entries;
  Check(DiagListEntries(folder, classnum, &entries));
  if (o.Value("--entry")) {
    int k = o.Number("--entry", 1, 999999, std::nullopt);
    if (k > static_cast<int>(entries.size())) {
      throw WrongValue("--entry " + std::to_string(k) + ": class " + std::to_string(classnum) +
                       " has " + std::to_string(entries.size()) + " diagnostic results");
    }
    entries = {entries[static_cast<std::size_t>(k - 1)]};
  }
  if (entries.empty()) {
    out << "No diagnostic results found.\n";
    return 1;
  }
  Roster roster;
  Check(roster.Load(folder));
  bool first = true;
  for (const std::string& entry : entries) {
    const std::string record(DiagEntryRecord(entry));
    const std::string& name = roster.Name(classnum, DiagStudentNumber(record));
    if (o.Flag("--paper")) {
      for (const auto& page : DiagnosticReportPages(record, name)) {
        PrintLines(out, page);
        out << "\f\n";
      }
      continue;
    }
    if (!first) PrintLines(out, ReportSeparator());
    first = false;
    PrintLines(out, DiagnosticReportLines(record, name));
  }
  return 0;
}

int Export(Folder& folder, Clock& clock, const Options& o, std::ostream& out) {
  std::optional<std::string> cutoff;
  if (std::optional<std::string> since = o.Value("--since")) {
    cutoff = ParseCutoffDate(*since);
    if (!cutoff) throw WrongValue("Enter date in format mm/dd/yy");
  }
  int order = o.Number("--order", 1, 5, 1);
  Tables tables;
  LoadTables(folder, &tables);
  std::string name = MakeOutputFileName(folder, clock);
  if (ToUpper(name) == "ERROR") {
    throw Exit{3, "An error has occurred while trying\nto create a name for the output file"};
  }
  std::size_t count = 0;
  Check(CountExportRecords(folder, cutoff, &count));
  if (count == 0) {
    out << "No records found.\n";
    return 1;
  }
  std::size_t written = 0;
  Check(WriteExport(folder, clock, tables.view(), cutoff, order, &name, &written));
  out << folder.FullPath(name) << '\n';
  return 0;
}

int Erase(Folder& folder, Clock& clock, const Options& o, std::ostream& out) {
  int classnum = o.Number("--class", 1, 99, std::nullopt);
  int studentnum = o.Number("--student", 1, 99, kEveryStudent);
  bool diagnostics = o.Flag("--diagnostics");
  ClassRecordOf(folder, classnum);
  if (!o.Flag("--yes")) {
    std::size_t count = 0;
    Check(CountPurgeable(folder, diagnostics, studentnum, classnum, &count));
    out << "Would erase " << count << " records; nothing was erased (add --yes).\n";
    return 1;
  }
  // What goes is kept in the bin, as the windows' erases keep it.
  EraseResult result;
  Check(diagnostics ? EraseDiagnosticResults(folder, clock.Now(), studentnum, classnum, &result)
                    : EraseActivityRecords(folder, clock.Now(), studentnum, classnum, &result));
  if (result.finished_earlier > 0) {
    out << "Finished an interrupted removal of " << result.finished_earlier << " records first.\n";
  }
  out << "Erased " << (diagnostics ? result.results : result.records) << " records.\n";
  return 0;
}

int Classes(Folder& folder, std::ostream& out) {
  for (const std::string& item : SortedClassList(folder)) {
    out << ClassNumberOf(item) << '\t' << GeneralNumber(PassingGradeOf(item)) << '\t'
        << ClassDisplayName(item) << '\n';
  }
  return 0;
}

int RosterList(Folder& folder, const Options& o, std::ostream& out) {
  int classnum = o.Number("--class", 1, 99, std::nullopt);
  ClassRecordOf(folder, classnum);
  std::vector<std::string> items;
  Check(FillRosterList(folder, classnum, &items));
  std::sort(items.begin(), items.end());
  for (const std::string& item : items) {
    out << StudentNumberOf(item) << '\t' << StudentDisplayName(item) << '\n';
  }
  return 0;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, Clock& clock, std::ostream& out,
           std::ostream& err) {
  return RunCli(args, clock, out, err, OpenProgramFolder);
}

int RunCli(const std::vector<std::string>& args, Clock& clock, std::ostream& out, std::ostream& err,
           const FolderOpener& open) {
  try {
    // "--folder DIR" may stand anywhere, once; the rest is the command and
    // its options.
    std::vector<std::string> rest;
    std::optional<std::string> folder_path;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (args[i] != "--folder") {
        rest.push_back(args[i]);
        continue;
      }
      if (folder_path) throw Usage("--folder is given twice");
      if (i + 1 >= args.size()) throw Usage("--folder needs a value");
      folder_path = args[++i];
    }
    if (rest.empty()) throw Usage("no command given");
    const std::string command = rest[0];
    if (command == "--help") throw Help{};
    const std::string path = folder_path.value_or(".");
    std::string problem;
    std::unique_ptr<Folder> opened = open(path, &problem);
    if (!opened) throw Exit{3, path + ": " + problem};
    Folder& folder = *opened;
    // A removal of records cut short (the machine stopped) is finished
    // before any command reads the files.
    std::vector<std::string> finished;
    Check(RecoverRemovals(folder, &finished));
    for (const std::string& file : finished) {
      err << "An interrupted removal of records from " << file << " was finished.\n";
    }
    if (command == "records") {
      return Records(folder,
                     Options(rest, 1, {"--class", "--student", "--group", "--sort", "--direction"},
                             {"--paper"}),
                     out);
    }
    if (command == "diagnostics") {
      return Diagnostics(folder, Options(rest, 1, {"--class", "--entry"}, {"--paper"}), out);
    }
    if (command == "export") {
      return Export(folder, clock, Options(rest, 1, {"--since", "--order"}, {}), out);
    }
    if (command == "erase") {
      return Erase(folder, clock,
                   Options(rest, 1, {"--class", "--student"}, {"--diagnostics", "--yes"}), out);
    }
    if (command == "classes") {
      Options(rest, 1, {}, {});  // takes no options
      return Classes(folder, out);
    }
    if (command == "summary")
      return RunSummaryCommand(folder, {rest.begin() + 1, rest.end()}, out, err);
    if (command == "roster") return RosterList(folder, Options(rest, 1, {"--class"}, {}), out);
    if (command == "import") {
      SystemRandom random;
      return RunImportCommand(folder, random, rest, out, err, kUsage);
    }
    if (command == "slips") return RunSlipsCommand(folder, rest, out, err, kUsage);
    if (command == "bin") return RunBinCommand(folder, rest, out, err, kUsage);
    if (command == "restore") return RunRestoreCommand(folder, rest, out, err, kUsage);
    throw Usage("unknown command: " + command);
  } catch (const Help&) {
    out << kUsage;
    return 0;
  } catch (const Exit& e) {
    return cli::Fail(e, err, kUsage);
  }
}

}  // namespace quillon

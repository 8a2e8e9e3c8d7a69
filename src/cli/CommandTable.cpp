// Every command of quillon-cli and every option, with the words of their
// help. A new command: its options struct in CommandOptions.h, its body in a
// command file, and one Add(...) here; a new option: one line in its
// command's declaration and a field in its options struct.
#include <algorithm>

#include "cli/BinCommands.h"
#include "cli/CommandLine.h"
#include "cli/ImportCommands.h"
#include "cli/OverviewCommand.h"
#include "cli/RecordCommands.h"
#include "cli/SummaryCommand.h"
#include "cli/WatchCommand.h"
#include "export/ExportDate.h"
#include "records/Summary.h"

namespace quillon::cli {
namespace {

// --from and --to of the summary: a day as mm/dd/yy.
std::function<std::optional<int>(const std::string&)> SummaryDay(const char* option) {
  return [option](const std::string& value) -> std::optional<int> {
    const std::optional<int> day = ParseSummaryDate(value);
    if (!day) {
      throw Exit{kExitCommandLine,
                 std::string(option) + " takes a date as mm/dd/yy, not \"" + value + "\""};
    }
    return day;
  };
}

// Two options that do not go together.
template <typename O>
std::function<void(const O&)> NotTogether(bool O::*a, bool O::*b, const char* a_name,
                                          const char* b_name, const char* command) {
  return [=](const O& o) {
    if (o.*a && o.*b) {
      throw CommandLineError(std::string(a_name) + " and " + b_name + " do not go together",
                             command);
    }
  };
}

constexpr char kStudentHelp[] = "one student of the class, by number (default: every student)";

}  // namespace

void DeclareCommands(CommandLine& line) {
  line.Describe(
      "Shows, prints, exports, erases and restores the students' records of a Quillon program "
      "folder, and imports rosters, without the windows: the same files, written byte for byte "
      "as the windows write them.",
      "When the folder holds s3.dat, a command asks for the administrator password before it "
      "reads anything: from --password-file FILE, else from the environment variable "
      "QUILLON_PASSWORD, else at the terminal without echo (three tries).\n\n"
      "Exit status: 0 done; 1 nothing found or not confirmed; 2 a wrong command line or value; "
      "3 a file cannot be used; 4 no right administrator password.\n\n"
      "quillon-cli COMMAND --help says what a command does; quillon-cli(1) says all.");

  line.Globals()
      .Value<std::string>("--folder", &GlobalOptions::folder, "DIR",
                          "the program folder, which holds LESSONS.DAT (default: the current "
                          "folder)",
                          [](const std::string& v) { return v; })
      .Choice("--encoding", &GlobalOptions::encoding,
              {{"locale", EncodingChoice::kLocale},
               {"utf-8", EncodingChoice::kUtf8},
               {"latin1", EncodingChoice::kStoredBytes},
               {"raw", EncodingChoice::kStoredBytes}},
              "how names are written and read:\n"
              "locale: in the terminal's encoding, from LANG or LC_ALL (the default); a "
              "character it cannot show is written \"?\"\n"
              "utf-8: in UTF-8\n"
              "latin1, raw: the bytes as the files hold them (Latin-1)")
      .Value<std::optional<std::string>>(
          "--password-file", &GlobalOptions::password_file, "FILE",
          "the administrator password, on the first line of FILE",
          [](const std::string& v) { return std::optional<std::string>(v); });

  line.Add("classes", "the classes: number, passing grade and name",
           "One line per class, in the order of the windows' class list: the class number, its "
           "test passing grade and its name, separated by tabs.",
           ClassesCommand)
      .Json(&ClassesOptions::json);

  line.Add("roster", "the students of a class: number and name",
           "One line per student of the class, in roster order: the student number and the "
           "name, separated by a tab.",
           RosterCommand)
      .Class(&RosterOptions::of_class)
      .Json(&RosterOptions::json);

  line.Add("records", "the activity records of a class or of one student",
           "One line per activity record of the class, or of one student, as the records "
           "window shows them: name, date, course, lesson, activity, problems attempted and "
           "correct, percent, the grade of practice or whether a test was passed, and minutes. "
           "Rewrites the working file RECORDS2.DAT, as the window does.",
           RecordsCommand)
      .Class(&RecordsOptions::of_class)
      .Number("--student", &RecordsOptions::student, 1, 99, "N", kStudentHelp)
      .Choice("--group", &RecordsOptions::group,
              {{"all", DataGroup::kAllRecords},
               {"tests", DataGroup::kTestsOnly},
               {"recent", DataGroup::kMostRecentTest}},
              "which records:\n"
              "all: every record (the default)\n"
              "tests: the lesson and unit tests\n"
              "recent: the most recent test of each lesson or unit")
      .Choice("--sort", &RecordsOptions::sort,
              {{"name", SortBy::kName},
               {"percent", SortBy::kPercent},
               {"date", SortBy::kDate},
               {"lesson", SortBy::kLesson}},
              "the order of the lines: by name (the default), percent correct, date or lesson")
      .Choice(
          "--direction", &RecordsOptions::direction,
          {{"increasing", SortDirection::kIncreasing}, {"decreasing", SortDirection::kDecreasing}},
          "increasing (the default) or decreasing")
      .Switch("--paper", &RecordsOptions::paper,
              "the lines of the printed report instead, in the report's own order (--sort does "
              "not apply)")
      .Json(&RecordsOptions::json)
      .Check(NotTogether(&RecordsOptions::paper, &RecordsOptions::json, "--paper", "--json",
                         "records"));

  line.Add("diagnostics", "the diagnostic test reports of a class",
           "The report of each diagnostic test result of the class, in the order of the "
           "diagnostic results window: the answers, the skill-area analysis (Poor, Fair or "
           "Good) and the plan of study.",
           DiagnosticsCommand)
      .Class(&DiagnosticsOptions::of_class)
      .Number("--entry", &DiagnosticsOptions::entry, 1, 999999, "K",
              "only the K-th result of the class's list, from 1")
      .Switch("--paper", &DiagnosticsOptions::paper,
              "the printed pages of each report instead (two for a known test), each followed "
              "by a form feed")
      .Json(&DiagnosticsOptions::json)
      .Check(NotTogether(&DiagnosticsOptions::paper, &DiagnosticsOptions::json, "--paper", "--json",
                         "diagnostics"));

  line.Add("summary", "tests, passes, practice and minutes of each student",
           "One line per student of the class's roster, in roster order, after a heading line, "
           "separated by tabs: Student, Tests (lesson and unit tests), Passed (reaching the "
           "class passing grade), Failed, Average %, Practice (problems attempted in the other "
           "records), Practice % (correct of attempted), Minutes, Last work (mm/dd/yy) and Needs "
           "help (the lessons and units whose most recent test was failed). Empty cells stay "
           "empty. Writes no file.",
           SummaryCommand)
      .Class(&SummaryOptions::of_class)
      .Value("--from", &SummaryOptions::from, "mm/dd/yy",
             "count only the records of that day and after (years 00-79 are 2000-2079, 80-99 "
             "are 1980-1999)",
             SummaryDay("--from"))
      .Value("--to", &SummaryOptions::to, "mm/dd/yy",
             "count only the records of that day and before", SummaryDay("--to"))
      .Switch("--csv", &SummaryOptions::csv,
              "the spreadsheet file's bytes instead: UTF-8 with a byte-order mark, "
              "comma-separated, numbers plain, dates yyyy-mm-dd")
      .Json(&SummaryOptions::json)
      .Check(NotTogether(&SummaryOptions::csv, &SummaryOptions::json, "--csv", "--json", "summary"))
      .Check([](const SummaryOptions& o) {
        if (o.from && o.to && *o.from > *o.to) throw Exit{kExitCommandLine, "--from is after --to"};
      });

  line.Add("overview", "the class view of a diagnostic test: what to reteach",
           "The class overview of a diagnostic test (C1 Pre-Algebra or C2 Algebra 1), scored "
           "as the reports score each result: a heading line (class, test, dates, the numbers "
           "of results and of students, and what was left out), then three tables, each after "
           "an empty line, its title and its heading line, separated by tabs: Problems (each "
           "problem's skill area, how many results answered it wrongly, of how many, as a "
           "percent, and the lesson that reviews it), Skill Areas (how many results rated each "
           "area Poor, Fair and Good, and the mean number correct) and Lessons to Reteach (the "
           "lessons of the plans of study, with how many students' plans name each, most "
           "first). Writes no file.",
           OverviewCommand)
      .Class(&OverviewOptions::of_class)
      .Choice("--test", &OverviewOptions::test, {{"C1", "C1"}, {"C2", "C2"}},
              "the test: C1 Pre-Algebra or C2 Algebra 1 (default: the one of which the class "
              "has more results)")
      .Switch("--all-results", &OverviewOptions::all_results,
              "count every result, not only the latest of each student (the last in Diag.dat)")
      .Value("--from", &OverviewOptions::from, "mm/dd/yy",
             "count only the results of that test date and after (a result without a date is "
             "then left out, and counted)",
             SummaryDay("--from"))
      .Value("--to", &OverviewOptions::to, "mm/dd/yy",
             "count only the results of that test date and before", SummaryDay("--to"))
      .Switch("--csv", &OverviewOptions::csv,
              "the spreadsheet file's bytes instead: UTF-8 with a byte-order mark, a section per "
              "table, numbers plain, dates yyyy-mm-dd")
      .Json(&OverviewOptions::json)
      .Check(
          NotTogether(&OverviewOptions::csv, &OverviewOptions::json, "--csv", "--json", "overview"))
      .Check([](const OverviewOptions& o) {
        if (o.from && o.to && *o.from > *o.to) throw Exit{kExitCommandLine, "--from is after --to"};
      });

  line.Add("watch", "today's records, then each one as the lessons write it",
           "One line per record of today so far, then one line per record as a tutoring lesson "
           "writes it, until Ctrl-C (exit status 0), separated by tabs: the time it came in "
           "(\"before hh:mm\" for one already there when the watch began: the files keep no "
           "time, and hh:mm is their last change), the class, the student, the lesson or unit "
           "title (or the diagnostic test), the activity (Practice, Lesson Test, Unit Test, "
           "Diagnostic Test), the percent correct, the result (Yes or No for a test against the "
           "class's passing grade, else the practice grade) and the minutes. A change of the "
           "folder is seen at once on this computer's disk, within 2 seconds on a share. Reads "
           "only: nothing is written or finished and no file is kept open; a zero byte (a "
           "removal under way) or a record not yet whole is said on standard error.",
           WatchCommand)
      .Number("--class", &WatchOptions::classnum, 1, 99, "N",
              "only the records of class N (default: every class)")
      .Value("--since", &WatchOptions::since, "hh:mm",
             "only the records that came in at hh:mm or later (of those already there, those "
             "that may have: the files' last change at hh:mm or later)",
             [](const std::string& v) -> std::optional<int> {
               const bool form = (v.size() == 5 && v[2] == ':') || (v.size() == 4 && v[1] == ':');
               const std::size_t colon = v.find(':');
               int h = -1, m = -1;
               if (form && std::all_of(v.begin(), v.end(),
                                       [](char c) { return c == ':' || (c >= '0' && c <= '9'); })) {
                 h = std::stoi(v.substr(0, colon));
                 m = std::stoi(v.substr(colon + 1));
               }
               if (h < 0 || h > 23 || m < 0 || m > 59) {
                 throw Exit{kExitCommandLine, "--since takes a time as hh:mm, not \"" + v + "\""};
               }
               return h * 60 + m;
             })
      .Switch("--json", &WatchOptions::json,
              "one JSON object per line instead (UTF-8; quillon-cli(1) describes it)")
      .ReadingOnly();

  line.Add("export", "writes every activity record to a new dated text file",
           "Writes every activity record, or those of a day and after, to a new tab-separated "
           "file RecordsMMDDYY-NN.txt in the program folder (NN from 01 to 20; an existing file "
           "is never overwritten) and prints its full name.",
           ExportCommand)
      .Value(
          "--since", &ExportOptions::cutoff, "mm/dd/yy", "only the records of that day and after",
          [](const std::string& v) {
            std::optional<std::string> cutoff = ParseCutoffDate(v);
            if (!cutoff) {
              throw Exit{kExitCommandLine, "--since \"" + v + "\": Enter date in format mm/dd/yy"};
            }
            return cutoff;
          })
      .Number("--order", &ExportOptions::order, 1, 5, "1-5",
              "the order of the lines:\n"
              "1: date, class, student (the default)\n"
              "2: date, student\n"
              "3: class, date, student\n"
              "4: class, student, date\n"
              "5: student, subject, date");

  line.Add("erase", "erases records of a class or student, keeping them in the bin",
           "Erases the activity records (or, with --diagnostics, the diagnostic results) of one "
           "student or of the whole class, with the windows' crash-safe removal, keeping them in "
           "a new entry of the bin (restore puts them back). Without --yes it only says how many "
           "records it would erase.",
           EraseCommand)
      .Class(&EraseOptions::of_class)
      .Number("--student", &EraseOptions::student, 1, 99, "N", kStudentHelp)
      .Switch("--diagnostics", &EraseOptions::diagnostics,
              "the diagnostic results instead of the activity records")
      .Switch("--yes", &EraseOptions::yes, "erase them (without it nothing is erased)");

  line.Add("import", "adds the students of a roster file saved from a spreadsheet",
           "Previews the import of the students of a roster file (CSV or text: UTF-8, UTF-16 or "
           "Windows-1252; separated by commas, semicolons or tabs) into the class: one line per "
           "row of the file, separated by tabs: the line number, the name as stored (\" (cut)\" "
           "after a name cut to 21 characters), the password, the student number and what will "
           "happen (\"add\", \"already in this class\", \"no name\", \"cannot be stored\", "
           "\"class is full\"), and why, where a name is spelled otherwise than in the file "
           "(\"U+015F written as s\", \"a letter may be lost\"). The heading row tells the "
           "columns by its words; without one, the first column is the names, or the columns "
           "given. With --yes the students are added, all in one write.",
           ImportCommand)
      .Class(&ImportOptions::of_class)
      .Number("--name-column", &ImportOptions::name_column, 1, 999, "K",
              "the column of the names (with --first-column: of the last names), from 1")
      .Number("--first-column", &ImportOptions::first_column, 1, 999, "K",
              "the column of the first names, stored as \"First Last\"")
      .Number("--password-column", &ImportOptions::password_column, 1, 999, "K",
              "the column of the passwords")
      .Check([](const ImportOptions& o) {
        if (o.first_column && !o.name_column) {
          throw CommandLineError("--first-column needs --name-column, the column of the last names",
                                 "import");
        }
      })
      .Switch("--yes", &ImportOptions::yes, "add the students (without it nothing changes)")
      .Json(&ImportOptions::json)
      .Word("FILE", &ImportOptions::file, "the roster file to import",
            "the roster file, at most 10 MB and 10,000 rows");

  line.Add("slips", "the log-in slips of a class: number, name and password",
           "The log-in slip of each student of the class, or of one, in roster order: the "
           "student number, name and password, separated by tabs.",
           SlipsCommand)
      .Class(&SlipsOptions::of_class)
      .Number("--student", &SlipsOptions::student, 1, 99, "N", kStudentHelp)
      .Json(&SlipsOptions::json);

  line.Add("bin", "lists or deletes the entries of the bin of erased records",
           "Without an option, one line per entry of the bin, newest first, separated by tabs: "
           "the entry's ID, the date and time of the erase (mm/dd/yy hh:mm), what was erased, and "
           "the numbers of activity records, of diagnostic results and of roster and class "
           "records it holds. An empty bin says \"The bin is empty.\" (exit status 1).",
           BinCommand)
      .Value<std::optional<std::string>>(
          "--delete", &BinOptions::delete_id, "ID", "removes entry ID for good",
          [](const std::string& v) { return std::optional<std::string>(v); })
      .Switch("--empty", &BinOptions::empty, "removes every entry for good")
      .Switch("--yes", &BinOptions::yes,
              "delete (without it --delete and --empty only say what they would delete)")
      .Json(&BinOptions::json)
      .Check([](const BinOptions& o) {
        if (o.delete_id && o.empty) {
          throw CommandLineError("--delete and --empty do not go together", "bin");
        }
        if (o.yes && !o.delete_id && !o.empty) {
          throw CommandLineError("--yes goes with --delete ID or --empty", "bin");
        }
        if (o.json && (o.delete_id || o.empty)) {
          throw CommandLineError("--json goes with the list, not with --delete or --empty", "bin");
        }
      });

  line.Add("restore", "puts an entry of the bin back",
           "Puts entry ID of the bin back: activity records and diagnostic results appended at "
           "the end of their files, as the lessons append them, roster and class records "
           "re-created; the entry then leaves the bin. Without --yes it says what would come "
           "back and changes nothing. When the entry's class or student number has since been "
           "given to someone else it says so and changes nothing, unless --renumber is given.",
           RestoreCommand)
      .Word("ID", &RestoreOptions::id, "the ID of the entry to restore",
            "the entry, as bin lists them")
      .Switch("--renumber", &RestoreOptions::renumber,
              "restore under the lowest free numbers when a number has been given to someone "
              "else")
      .Switch("--yes", &RestoreOptions::yes,
              "restore (without it, only says what would come back)");
}

}  // namespace quillon::cli

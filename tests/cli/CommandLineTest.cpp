// quillon-cli's command line as scripts and terminals meet it, run as the
// built program: every command's help without a program folder, the
// version, the --name=value forms, and one line with exit status 2 for
// every wrong word or value.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/core/Builders.h"
#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;
using Result = testing::CommandResult;

Result RunIn(const std::string& workdir, const std::string& args) {
  return testing::RunCommand(std::string(QUILLON_CLI) + " " + args, workdir);
}

// The names of what is in `folder`.
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Run in an empty folder, which is no program folder: help and version
// need none, and leave it empty.
TEST(CommandLineTest, EveryCommandsHelpAndTheVersionWithoutAFolder) {
  testing::TempFolder empty;
  struct Case {
    std::string command;
    std::vector<std::string> options;  // each at the start of a line of the help
  } cases[] = {
      {"classes", {"--json"}},
      {"roster", {"--class N", "--json"}},
      {"records",
       {"--class N", "--student N", "--group all|tests|recent", "--sort name|percent|date|lesson",
        "--direction increasing|decreasing", "--paper", "--json"}},
      {"diagnostics", {"--class N", "--entry K", "--paper", "--json"}},
      {"summary", {"--class N", "--from mm/dd/yy", "--to mm/dd/yy", "--csv", "--json"}},
      {"export", {"--since mm/dd/yy", "--order 1-5"}},
      {"erase", {"--class N", "--student N", "--diagnostics", "--yes"}},
      {"import", {"--class N", "--yes", "--json", "FILE"}},
      {"slips", {"--class N", "--student N", "--json"}},
      {"bin", {"--delete ID", "--empty", "--yes", "--json"}},
      {"restore", {"ID", "--renumber", "--yes"}},
      {"watch", {"--class N", "--since hh:mm", "--json"}},
  };
  for (const Case& c : cases) {
    const Result help = RunIn(empty.path(), c.command + " --help");
    EXPECT_EQ(help.status, 0) << c.command;
    EXPECT_EQ(help.err, "") << c.command;
    EXPECT_EQ(help.out.rfind("usage: quillon-cli [--folder DIR] " + c.command + " ", 0), 0)
        << help.out;
    for (const std::string& option : c.options) {
      const std::size_t at = help.out.find("\n  " + option);
      const char after = at == std::string::npos ? '?' : help.out[at + 3 + option.size()];
      EXPECT_TRUE(after == ' ' || after == '\n') << c.command << " " << option;
    }
    EXPECT_NE(help.out.find("\n  -h, --help "), std::string::npos) << c.command;
    // Every way of asking gives the same text.
    for (const std::string& other :
         {c.command + " -h", "help " + c.command, "--folder nowhere " + c.command + " --help",
          c.command + " --class=7 --help"}) {
      const bool takes_class = c.options.front() == "--class N";
      if (!takes_class && other.find("--class") != std::string::npos) continue;
      EXPECT_EQ(RunIn(empty.path(), other), help) << other;
    }
  }
  EXPECT_EQ(RunIn(empty.path(), "roster --help").out,
            "usage: quillon-cli [--folder DIR] roster --class N [--json]\n"
            "\n"
            "One line per student of the class, in roster order: the student number and the\n"
            "name, separated by a tab.\n"
            "\n"
            "Options:\n"
            "  --class N             the class: its number (1-99) or its name, as the\n"
            "                        classes command lists them\n"
            "  --json                one JSON document instead of lines (UTF-8;\n"
            "                        quillon-cli(1) describes it)\n"
            "  -h, --help            this help\n"
            "\n"
            "Options of every command: --folder DIR, --encoding locale|utf-8|latin1|raw,\n"
            "--password-file FILE (quillon-cli --help says what they do). When the folder\n"
            "holds s3.dat, the administrator password is asked first.\n");

  const Result general = RunIn(empty.path(), "--help");
  EXPECT_EQ(general.status, 0);
  EXPECT_EQ(general.out.substr(0, general.out.find('\n')),
            "usage: quillon-cli [--folder DIR] COMMAND [OPTIONS]");
  for (const Case& c : cases) {
    EXPECT_NE(general.out.find("\n  " + c.command + " "), std::string::npos) << c.command;
  }
  for (const char* option : {"--folder DIR", "--encoding locale|utf-8|latin1|raw\n",
                             "--password-file FILE", "-h, --help", "--version"}) {
    EXPECT_NE(general.out.find("\n  " + std::string(option)), std::string::npos) << option;
  }
  EXPECT_EQ(RunIn(empty.path(), "help"), general);
  EXPECT_EQ(RunIn(empty.path(), "-h"), general);

  const Result version{0,
                       "quillon-cli 1.0.0 (Quillon Student Recordkeeping System)\n"
                       "Licence: GPL-3.0-or-later (GNU General Public License, version 3 or "
                       "later).\n",
                       ""};
  EXPECT_EQ(RunIn(empty.path(), "--version"), version);
  EXPECT_EQ(RunIn(empty.path(), "records --version"), version);
  EXPECT_EQ(Entries(empty.path()), std::vector<std::string>{});
}

class CommandLineFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("LESSONS.DAT", testing::MinimalLessons());
    dir.Write("CLASSES.DAT", ClassRec("Geometry", "060", "2") + ClassRec("Algebra", "070", "1"));
    dir.Write("STUDENTS.DAT", StudentRec("Bob", "2", "1") + StudentRec("Ann", "1", "1"));
    dir.Write("RECORDS.DAT", ActRec("C3", "1", "1", "091526", "01", "51", "10", "9", "25") +
                                 ActRec("C3", "1", "2", "091426", "01", "02", "10", "6", "5"));
  }
  Result Run(const std::string& args) { return RunIn(dir.path(), args); }
  testing::TempFolder dir;
};

// What --name=value gives is what --name value gives, wherever --folder
// stands.
TEST_F(CommandLineFolderTest, TheEqualsFormsMeanTheSame) {
  struct Case {
    std::string spaced, joined;
  } cases[] = {
      {"records --class 1 --group tests --sort percent --direction decreasing",
       "records --class=1 --group=tests --sort=percent --direction=decreasing"},
      {"records --class Algebra --student 2", "--folder=. records --student=2 --class=Algebra"},
      {"erase --class 1 --student 1 --diagnostics", "erase --diagnostics --student=1 --class=1"},
      {"slips --class 1 --student 2", "slips --class=1 --student=2 --folder=."},
      {"summary --class 1 --from 09/15/26 --to 12/31/26",
       "summary --to=12/31/26 --class=1 --from=09/15/26"},
  };
  for (const Case& c : cases) {
    const Result spaced = Run(c.spaced);
    EXPECT_NE(spaced.out, "") << c.spaced;
    EXPECT_EQ(spaced.err, "") << c.spaced;
    EXPECT_EQ(Run(c.joined), spaced) << c.joined;
  }
  EXPECT_EQ(Run("roster --class=1"), (Result{0, "1\tAnn\n2\tBob\n", ""}));
}

TEST_F(CommandLineFolderTest, EveryWrongWordOrValueIsOneLineAndStatusTwo) {
  const std::string before = dir.Read("RECORDS.DAT");
  struct Case {
    std::string args;
    std::string err;
  } cases[] = {
      // Words no command or option takes.
      {"frobnicate", "unknown command 'frobnicate'; try 'quillon-cli --help'"},
      {"frobnicate --help", "unknown command 'frobnicate'; try 'quillon-cli --help'"},
      {"help frobnicate", "unknown command 'frobnicate'; try 'quillon-cli --help'"},
      {"--frobnicate classes", "unknown option '--frobnicate'; try 'quillon-cli --help'"},
      {"-x", "unknown option '-x'; try 'quillon-cli --help'"},
      {"roster --cls=1", "unknown option '--cls' for roster; try 'quillon-cli roster --help'"},
      {"roster --class 1 --yes --help",
       "unknown option '--yes' for roster; try 'quillon-cli roster --help'"},
      {"classes roster", "unexpected word 'roster' for classes; try 'quillon-cli classes --help'"},
      {"export 4", "unexpected word '4' for export; try 'quillon-cli export --help'"},
      {"restore a b", "unexpected word 'b' for restore; try 'quillon-cli restore --help'"},
      // Options without their value, twice, missing or clashing.
      {"records --class", "--class needs a value; try 'quillon-cli records --help'"},
      {"records --class=", "--class needs a value; try 'quillon-cli records --help'"},
      {"classes --folder", "--folder needs a value; try 'quillon-cli classes --help'"},
      {"records --class 1 --class=2", "--class is given twice; try 'quillon-cli records --help'"},
      {"erase --student 1 --yes", "--class is required; try 'quillon-cli erase --help'"},
      {"records --class 1 --paper --json",
       "--paper and --json do not go together; try 'quillon-cli records --help'"},
      {"summary --class 1 --csv --json",
       "--csv and --json do not go together; try 'quillon-cli summary --help'"},
      {"bin --empty --json",
       "--json goes with the list, not with --delete or --empty; try 'quillon-cli bin --help'"},
      // Values an option does not take.
      {"records --class=0", "--class takes a whole number from 1 to 99, not \"0\""},
      {"records --class 100", "--class takes a whole number from 1 to 99, not \"100\""},
      {"records --class -1",
       "--class takes a class number from 1 to 99 or a class name, not \"-1\""},
      {"records --class 1 --student 1x", "--student takes a whole number from 1 to 99, not \"1x\""},
      {"records --class 1 --group=Tests", "--group takes all|tests|recent, not \"Tests\""},
      {"records --class 1 --direction up", "--direction takes increasing|decreasing, not \"up\""},
      {"diagnostics --class 1 --entry 0",
       "--entry takes a whole number from 1 to 999999, not \"0\""},
      {"export --order=1.5", "--order takes a whole number from 1 to 5, not \"1.5\""},
      {"export --since 2/30/26", "--since \"2/30/26\": Enter date in format mm/dd/yy"},
      {"summary --class 1 --to 12/31", "--to takes a date as mm/dd/yy, not \"12/31\""},
      {"--encoding=ascii classes", "--encoding takes locale|utf-8|latin1|raw, not \"ascii\""},
      {"watch --class 0", "--class takes a whole number from 1 to 99, not \"0\""},
      {"watch --since 24:00", "--since takes a time as hh:mm, not \"24:00\""},
      {"watch --since 9.30", "--since takes a time as hh:mm, not \"9.30\""},
      {"watch --since 9:5", "--since takes a time as hh:mm, not \"9:5\""},
      // Values the folder does not hold.
      {"erase --class 3 --yes", "there is no class 3 in CLASSES.DAT"},
      {"erase --class Algebra2 --yes", "there is no class named \"Algebra2\" in CLASSES.DAT"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), (Result{2, "", "quillon-cli: " + c.err + "\n"})) << c.args;
  }
  EXPECT_EQ(dir.Read("RECORDS.DAT"), before);
  EXPECT_FALSE(dir.Exists("Erased"));
}

}  // namespace
}  // namespace quillon

// Runs the built quillon-cli on hand-made and generated program folders.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "base/Text.h"
#include "data/ClassFiles.h"
#include "data/LessonCatalogue.h"
#include "diagnostics/DiagRecord.h"
#include "diagnostics/DiagnosticReport.h"
#include "platform/Clock.h"
#include "records/DisplayBuilder.h"
#include "support/core/Builders.h"
#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::DiagRec;
using testing::StudentRec;

using Result = testing::CommandResult;
using testing::ReadBytes;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("LESSONS.DAT", testing::MinimalLessons());
    dir.Write(kClassesFile, ClassRec("Geometry", "060", "2") + ClassRec("Algebra", "070", "1"));
    dir.Write(kStudentsFile, StudentRec("Bob", "2", "1") + StudentRec("Ann", "1", "1") +
                                 StudentRec("Cy", "1", "2"));
    dir.Write("RECORDS.DAT", ActRec("C3", "1", "1", "091526", "01", "01", "10", "9", "25") +
                                 ActRec("C3", "1", "2", "091426", "01", "51", "10", "6", "5") +
                                 ActRec("C3", "2", "1", "091326", "01", "01", "10", "9", "25"));
    dir.Write("Diag.dat", DiagRec("C1", "1", "2", "091526", kKey, kKey) +
                              DiagRec("C2", "1", "1", "091626", std::string(30, 'x'), kKey));
  }
  Result Run(const std::string& args, const std::string& folder = "") {
    return testing::RunCommand(std::string(QUILLON_CLI) + " --folder " +
                               (folder.empty() ? dir.path() : folder) + " " + args);
  }
  static inline const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";
  testing::TempFolder dir;
};

TEST_F(CliTest, ClassesAndRosterInListOrder) {
  Result r = Run("classes");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1\t70\tAlgebra\n2\t60\tGeometry\n");
  r = Run("roster --class 1");
  EXPECT_EQ(r.out, "1\tAnn\n2\tBob\n");
  EXPECT_EQ(r.status, 0);
}

TEST_F(CliTest, RecordsScreenAndPaper) {
  Result r = Run("records --class 1 --group tests");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "Bob              091426 V&T-Geom  C3 U1 L1                  Lesson Test  10     6"
            "    60           No     5\n");
  r = Run("records --class 1 --paper --direction decreasing");
  EXPECT_EQ(r.status, 0);
  std::vector<std::string> lines;
  std::stringstream s(r.out);
  for (std::string l; std::getline(s, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(
      lines[0],
      "STUDENT RECORDS: All Students   /   Test Passing Grade: 70%   /   Showing: All Records");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[5].substr(0, 3), "Bob");  // decreasing: the last name first
  EXPECT_EQ(lines[6], " ");
  EXPECT_EQ(lines[7].substr(0, 3), "Ann");
  EXPECT_EQ(lines[7].size(), 111u);
  r = Run("records --class 1 --student 9");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "No records found.\n");
  EXPECT_EQ(dir.Read("RECORDS2.DAT").size(), 75u);  // the working file, as the window leaves it
}

TEST_F(CliTest, DiagnosticsScreenEntryAndPaper) {
  Result r = Run("diagnostics --class 1");
  EXPECT_EQ(r.status, 0);
  // Ann's "C2" result first (sorted by name), then the separator, then Bob's.
  EXPECT_EQ(r.out.substr(0, 34), "Algebra 1 Diagnostic Test Results\n");
  EXPECT_NE(r.out.find("\n \n" + std::string(94, '=') + "\n" + std::string(94, '=') +
                       "\n \nPre-Algebra Diagnostic Test Results\n \nStudent: Bob"),
            std::string::npos);
  r = Run("diagnostics --class 1 --entry 2");
  EXPECT_EQ(r.out.substr(0, 36), "Pre-Algebra Diagnostic Test Results\n");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 41);  // all correct: 41 lines
  r = Run("diagnostics --class 1 --entry 2 --paper");
  EXPECT_EQ(r.out.substr(0, 68),
            "Pre-Algebra Diagnostic Test Results                     Page 1 of 2\n");
  EXPECT_NE(
      r.out.find("\n\f\nPre-Algebra Diagnostic Test Results                     Page 2 of 2\n"),
      std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.size() - 3), "\n\f\n");
  r = Run("diagnostics --class 1 --entry 3");
  EXPECT_EQ(r.status, 2);
}

TEST_F(CliTest, ExportWritesANewFileEachRun) {
  Date today = SystemClock().Today();
  const std::string name =
      "Records" + ZeroPad(today.month, 2) + ZeroPad(today.day, 2) + ZeroPad(today.year % 100, 2);
  Result r = Run("export --order 4");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, dir.path() + "/" + name + "-01.txt\n");
  EXPECT_EQ(dir.Read(name + "-01.txt"),
            "Algebra\tAnn\tV&T-Geom\t09/15/26\tC3 U1 L1\t10\t9\t25\r\n"
            "Algebra\tBob\tV&T-Geom\t09/14/26\tC3 U1 L1\t10\t6\t5\r\n"
            "Geometry\tCy\tV&T-Geom\t09/13/26\tC3 U1 L1\t10\t9\t25\r\n");
  r = Run("export --since 09/15/26");
  EXPECT_EQ(r.out, dir.path() + "/" + name + "-02.txt\n");
  EXPECT_EQ(dir.Read(name + "-02.txt"),
            "Algebra\tAnn\tV&T-Geom\t09/15/26\tC3 U1 L1\t10\t9\t25\r\n");
  r = Run("export --since 13/45/12");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "quillon-cli: --since \"13/45/12\": Enter date in format mm/dd/yy\n");
  for (int n = 3; n <= 20; ++n) dir.Write(name + "-" + ZeroPad(n, 2) + ".txt", "");
  r = Run("export");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "quillon-cli: " + dir.path() + "/" + name +
                       "-01.txt: An error has occurred while trying to create a name for the "
                       "output file (-01 to -20 all exist)\n");
}

TEST_F(CliTest, EraseNeedsYes) {
  const std::string before = dir.Read("RECORDS.DAT");
  Result r = Run("erase --class 1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "Would erase 2 records; nothing was erased (add --yes).\n");
  EXPECT_EQ(dir.Read("RECORDS.DAT"), before);
  r = Run("erase --class 1 --student 2 --yes");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Erased 1 records.\n");
  EXPECT_EQ(dir.Read("RECORDS.DAT").size(), 50u);
  EXPECT_EQ(dir.Read("RECORDS.TMP").size(), 50u);
  r = Run("erase --class 1 --diagnostics --yes");
  EXPECT_EQ(r.out, "Erased 2 records.\n");
  EXPECT_EQ(dir.Read("Diag.dat"), "");
  EXPECT_EQ(dir.Read("RECORDS.DAT").size(), 50u);
}

TEST_F(CliTest, EveryExitStatusTellsTheTruth) {
  struct Case {
    std::string args;
    int status;
    std::string error;  // the whole of standard error
  } cases[] = {
      {"", 2, "quillon-cli: no command given; try 'quillon-cli --help'\n"},
      {"frobnicate", 2, "quillon-cli: unknown command 'frobnicate'; try 'quillon-cli --help'\n"},
      {"records", 2, "quillon-cli: --class is required; try 'quillon-cli records --help'\n"},
      {"roster --class 1 --yes", 2,
       "quillon-cli: unknown option '--yes' for roster; try 'quillon-cli roster --help'\n"},
      {"classes --folder . --folder .", 2,
       "quillon-cli: --folder is given twice; try 'quillon-cli --help'\n"},
      {"records --class 0", 2,
       "quillon-cli: --class takes a whole number from 1 to 99, not \"0\"\n"},
      {"erase --class --help --yes", 2,
       "quillon-cli: --class takes a class number from 1 to 99 or a class name, not "
       "\"--help\"\n"},
      {"records --class 1 --sort size", 2,
       "quillon-cli: --sort takes name|percent|date|lesson, not \"size\"\n"},
      {"records --class 5", 2, "quillon-cli: there is no class 5 in CLASSES.DAT\n"},
      {"records --class Algebr", 2,
       "quillon-cli: there is no class named \"Algebr\" in CLASSES.DAT\n"},
      {"export --order 6", 2, "quillon-cli: --order takes a whole number from 1 to 5, not \"6\"\n"},
      {"diagnostics --class 2", 1, ""},  // no results: nothing found
  };
  for (const Case& c : cases) {
    Result r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.err, c.error) << c.args;
  }
  EXPECT_EQ(Run("diagnostics --class 2").out, "No diagnostic results found.\n");
  // A class by its name gives what its number gives.
  EXPECT_EQ(Run("roster --class Algebra"), Run("roster --class 1"));
  // --folder anywhere on the line.
  EXPECT_EQ(
      std::system(
          (std::string(QUILLON_CLI) + " classes --folder " + dir.path() + " >/dev/null").c_str()),
      0);
}

TEST_F(CliTest, FoldersAndFilesThatAreNotWhatTheyShouldBe) {
  struct Case {
    std::string folder;
    std::string error;
  } cases[] = {
      {dir.path() + "/nowhere", dir.path() + "/nowhere: there is no such folder"},
      {dir.path() + "/LESSONS.DAT", dir.path() + "/LESSONS.DAT: is not a folder"},
  };
  for (const Case& c : cases) {
    Result r = Run("classes", c.folder);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "quillon-cli: " + c.error + "\n");
  }
  // A folder without LESSONS.DAT is not a program folder; reading it makes
  // no file.
  testing::TempFolder empty;
  Result r = Run("classes", empty.path());
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "quillon-cli: " + empty.path() +
                       ": is not a program folder: it holds no LESSONS.DAT\n");
  EXPECT_FALSE(empty.Exists(kClassesFile));

  // A FIFO in the place of a data file is refused at once, never waited on.
  ASSERT_EQ(::mkfifo((dir.path() + "/RECORDS.DAT.fifo").c_str(), 0644), 0);
  std::filesystem::remove(dir.path() + "/RECORDS.DAT");
  std::filesystem::rename(dir.path() + "/RECORDS.DAT.fifo", dir.path() + "/RECORDS.DAT");
  for (const char* command : {"records --class 1", "export", "erase --class 1 --yes"}) {
    r = Run(command);
    EXPECT_EQ(r.status, 3) << command;
    EXPECT_EQ(r.err, "quillon-cli: RECORDS.DAT: is not an ordinary file\n") << command;
  }

  dir.Write(kClassesFile, ClassRec("Algebra", "070", "1") + ClassRec("Broken", "070", "  "));
  r = Run("classes");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "quillon-cli: CLASSES.DAT: Class number <=0!\n");
  EXPECT_EQ(r.out, "");
}

// Run as an account that may not read: the message names the real cause.
TEST_F(CliTest, ACatalogueThatMayNotBeReadSaysSo) {
  if (::geteuid() != 0 || std::system("command -v setpriv >/dev/null") != 0) {
    GTEST_SKIP() << "needs root and setpriv to run as another account";
  }
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod((dir.path() + "/LESSONS.DAT").c_str(), 0), 0);
  const std::string err = dir.path() + "/.err";
  const std::string command = "setpriv --reuid=65534 --regid=65534 --clear-groups " +
                              std::string(QUILLON_CLI) + " --folder " + dir.path() +
                              " records --class 1 >/dev/null 2>" + err;
  const int raw = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 3);
  EXPECT_EQ(ReadBytes(err),
            "quillon-cli: LESSONS.DAT: cannot open the file for reading: Permission denied\n");
}

// On a generated folder, counted from the raw bytes here: one line per
// record of the class, sorted by percent, each 106 columns and under its
// student's roster name; one diagnostic report per result of the class.
TEST(CliGeneratedFolderTest, EveryRecordAndResultOfTheClassIsShown) {
  testing::TempFolder dir;
  std::string make = std::string(MAKE_SAMPLE_FOLDER) + " --seed 5 --lessons " + SAMPLE_LESSONS +
                     " " + dir.path() + " >/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0);
  const std::string records = dir.Read("RECORDS.DAT"), students = dir.Read("STUDENTS.DAT"),
                    diag = dir.Read("Diag.dat");
  std::multiset<std::string> want_names;
  for (std::size_t at = 0; at + 25 <= records.size(); at += 25) {
    if (records.substr(at + 2, 2) != "2 ") continue;
    const std::string student = records.substr(at + 4, 2);
    for (std::size_t s = 0; s + 31 <= students.size(); s += 31) {
      if (students.substr(s + 21, 2) == student && students.substr(s + 23, 2) == "2 ") {
        want_names.insert(students.substr(s, 16));
        break;
      }
    }
  }
  std::size_t want_reports = 0;
  for (std::size_t at = 0; at + 72 <= diag.size(); at += 72)
    want_reports += diag.substr(at + 2, 2) == "2 ";
  ASSERT_GT(want_names.size(), 100u);
  ASSERT_GT(want_reports, 0u);

  const std::string out = dir.path() + "/.out";
  std::string command = std::string(QUILLON_CLI) + " --folder " + dir.path() +
                        " records --class 2 --sort percent >" + out;
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::stringstream lines(ReadBytes(out));
  std::multiset<std::string> names;
  // Nothing correct sorts first (a blank key), then by percent.
  int previous_percent = -1;
  for (std::string l; std::getline(lines, l);) {
    ASSERT_EQ(l.size(), 106u) << l;
    names.insert(l.substr(0, 16));
    if (std::stoi(l.substr(77, 4)) == 0) {
      EXPECT_EQ(previous_percent, -1) << l;
      continue;
    }
    EXPECT_LE(previous_percent, std::stoi(l.substr(83, 4))) << l;
    previous_percent = std::stoi(l.substr(83, 4));
  }
  EXPECT_EQ(names, want_names);

  command = std::string(QUILLON_CLI) + " --folder " + dir.path() + " diagnostics --class 2 >" + out;
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string reports = ReadBytes(out);
  std::size_t titles = 0;
  for (std::size_t at = reports.find("Diagnostic Test Results\n"); at != std::string::npos;
       at = reports.find("Diagnostic Test Results\n", at + 1)) {
    ++titles;
  }
  EXPECT_EQ(titles, want_reports);
}

}  // namespace
}  // namespace quillon

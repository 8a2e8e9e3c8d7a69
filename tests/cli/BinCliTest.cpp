// quillon-cli's bin: erase fills it, bin lists and deletes its entries,
// restore puts one back; run as the built program on hand-made folders and
// hand-written entry files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  for (std::string l; std::getline(s, l);) lines.push_back(l);
  return lines;
}

bool AllOf(const std::string& text, const std::string& allowed) {
  return text.find_first_not_of(allowed) == std::string::npos;
}

const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";
const std::string kAlgebra = ClassRec("Algebra", "070", "1");
const std::string kGeometry = ClassRec("Geometry", "060", "2");
const std::string kBob = StudentRec("Bob", "2", "1"), kAnn = StudentRec("Ann", "1", "1"),
                  kCy = StudentRec("Cy", "1", "2");
const std::string kAnnRec = ActRec("C3", "1", "1", "091526", "01", "01", "10", "9", "25"),
                  kBobRec = ActRec("C3", "1", "2", "091426", "01", "51", "10", "6", "5"),
                  kCyRec = ActRec("C3", "2", "1", "091326", "01", "01", "10", "9", "25");

// Two entries as a lab might copy them in from another folder: Cy's
// diagnostic result, and a student Zed of class 1 deleted with a record.
const std::string kCyEntryId = "200105-081500-0a1b", kZedEntryId = "200106-140502-77c0";
const std::string kCyEntry =
    "QUILLON ERASED 1\nID: 200105-081500-0a1b\nWhen: 01/05/20 08:15\n"
    "What: Diagnostic results of Cy, Geometry\nClass: " +
    kGeometry + "\nStudent: " + kCy + "\nGroup: Diag.dat 72 1 00ff00ff00ff00ff\n" +
    DiagRec("C1", "2", "1", "010420", kKey, kKey) + "\n";
const std::string kZed = StudentRec("Zed", "2", "1");
const std::string kZedRec = ActRec("C3", "1", "2", "010520", "01", "01", "10", "4", "12");
const std::string kZedEntry =
    "QUILLON ERASED 1\nID: 200106-140502-77c0\nWhen: 01/06/20 14:05\n"
    "What: Student Zed, Algebra, with records\nClass: " +
    kAlgebra + "\nStudent: " + kZed + "\nGroup: RECORDS.DAT 25 1 1234567890abcdef\n" + kZedRec +
    "\nGroup: STUDENTS.DAT 31 1 1234567890abcdef\n" + kZed + "\n";

class BinCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("LESSONS.DAT", testing::MinimalLessons());
    dir.Write("CLASSES.DAT", kGeometry + kAlgebra);
    dir.Write("STUDENTS.DAT", kBob + kAnn + kCy);
    dir.Write("RECORDS.DAT", kAnnRec + kBobRec + kCyRec);
    dir.Write("Diag.dat", DiagRec("C1", "1", "2", "091526", kKey, kKey) +
                              DiagRec("C2", "1", "1", "091626", std::string(30, 'x'), kKey));
  }
  void CopyIn(const std::string& id, const std::string& bytes) {
    std::filesystem::create_directories(dir.path() + "/Erased");
    dir.Write("Erased/" + id + ".qbn", bytes);
  }
  Result Run(const std::string& args) {
    return testing::RunCommand(std::string(QUILLON_CLI) + " --folder " + dir.path() + " " + args);
  }
  // The names of the files in the bin's folder.
  // The bin's files, but the note of completed restores.
  std::vector<std::string> BinFiles() {
    std::vector<std::string> names;
    if (!std::filesystem::exists(dir.path() + "/Erased")) return names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path() + "/Erased")) {
      if (e.path().filename() != "RESTORED") names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  testing::TempFolder dir;
};

TEST_F(BinCliTest, EraseFillsTheBinAndBinListsItNewestFirst) {
  CopyIn(kCyEntryId, kCyEntry);
  CopyIn(kZedEntryId, kZedEntry);
  Result r = Run("bin");
  EXPECT_EQ(r.status, 0);
  const std::string zed_line =
                        "200106-140502-77c0\t01/06/20 14:05\tStudent Zed, Algebra, with "
                        "records\t1\t0\t1",
                    cy_line =
                        "200105-081500-0a1b\t01/05/20 08:15\tDiagnostic results of Cy, "
                        "Geometry\t0\t1\t0";
  EXPECT_EQ(r.out, zed_line + "\n" + cy_line + "\n");

  r = Run("erase --class 1 --student 2 --yes");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Erased 1 records.\n");
  EXPECT_EQ(dir.Read("RECORDS.DAT"), kAnnRec + kCyRec);
  // Nothing erased: no entry.
  r = Run("erase --class 1 --student 2 --yes");
  EXPECT_EQ(r.out, "Erased 0 records.\n");

  r = Run("bin");
  EXPECT_EQ(r.status, 0);
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_EQ(lines[1], zed_line);
  EXPECT_EQ(lines[2], cy_line);
  // The new entry: "yymmdd-hhmmss-xxxx", then its time as mm/dd/yy hh:mm.
  const std::string id = lines[0].substr(0, lines[0].find('\t'));
  ASSERT_EQ(id.size(), 18u) << lines[0];
  EXPECT_TRUE(AllOf(id.substr(0, 6) + id.substr(7, 6), "0123456789")) << id;
  EXPECT_TRUE(AllOf(id.substr(14), "0123456789abcdef")) << id;
  const std::string when = id.substr(2, 2) + "/" + id.substr(4, 2) + "/" + id.substr(0, 2) + " " +
                           id.substr(7, 2) + ":" + id.substr(9, 2);
  EXPECT_EQ(lines[0], id + "\t" + when + "\tRecords of Bob, Algebra\t1\t0\t0");

  // The entry file holds the erased record byte for byte under its header.
  const std::string bytes = dir.Read("Erased/" + id + ".qbn");
  const std::string group = "Group: RECORDS.DAT 25 1 ";
  const std::size_t at = bytes.find(group);
  ASSERT_NE(at, std::string::npos) << bytes;
  const std::string key = bytes.substr(at + group.size(), 16);
  EXPECT_TRUE(AllOf(key, "0123456789abcdef")) << key;
  EXPECT_EQ(bytes, "QUILLON ERASED 1\nID: " + id + "\nWhen: " + when +
                       "\nWhat: Records of Bob, Algebra\nClass: " + kAlgebra +
                       "\nStudent: " + kBob + "\n" + group + key + "\n" + kBobRec + "\n");
  EXPECT_EQ(BinFiles(),
            (std::vector<std::string>{kCyEntryId + ".qbn", kZedEntryId + ".qbn", id + ".qbn"}));
}

TEST_F(BinCliTest, DeleteAndEmptyOnlyWithYesAndOnlyInTheBin) {
  CopyIn(kCyEntryId, kCyEntry);
  CopyIn(kZedEntryId, kZedEntry);
  const std::string damaged = "200107-000000-dddd";
  CopyIn(damaged, "QUILLON ERASED 1\nID: 200107-000000-dddd\nWhen: 01/07/20 0");
  dir.Write("evil.qbn", "not in the bin");
  struct Case {
    std::string args;
    int status;
    std::string out, err_first_line;
  } cases[] = {
      {"bin --delete " + kCyEntryId, 1,
       "Would delete 200105-081500-0a1b (Diagnostic results of Cy, Geometry) for good; nothing "
       "was deleted (add --yes).\n",
       ""},
      {"bin --empty", 1, "Would delete 3 entries for good; nothing was deleted (add --yes).\n", ""},
      {"bin --delete 209999-000000-ffff --yes", 2, "",
       "quillon-cli: there is no entry 209999-000000-ffff in the bin (quillon-cli bin lists them)"},
      {"bin --delete ../evil --yes", 2, "",
       "quillon-cli: there is no entry ../evil in the bin (quillon-cli bin lists them)"},
      {"bin --delete " + kCyEntryId + " --empty --yes", 2, "",
       "quillon-cli: --delete and --empty do not go together; try 'quillon-cli bin --help'"},
      {"bin --yes", 2, "",
       "quillon-cli: --yes goes with --delete ID or --empty; try 'quillon-cli bin --help'"},
      {"bin --delete", 2, "", "quillon-cli: --delete needs a value; try 'quillon-cli bin --help'"},
      {"restore", 2, "",
       "quillon-cli: the ID of the entry to restore is required; try 'quillon-cli restore --help'"},
      {"restore ../evil --yes", 2, "",
       "quillon-cli: there is no entry ../evil in the bin (quillon-cli bin lists them)"},
  };
  for (const Case& c : cases) {
    const Result r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, c.out) << c.args;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.err_first_line) << c.args;
  }
  EXPECT_EQ(dir.Read("Erased/" + kCyEntryId + ".qbn"), kCyEntry);
  EXPECT_EQ(dir.Read("Erased/" + kZedEntryId + ".qbn"), kZedEntry);
  EXPECT_EQ(dir.Read("evil.qbn"), "not in the bin");

  Result r = Run("bin --delete " + kCyEntryId + " --yes");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Deleted 200105-081500-0a1b (Diagnostic results of Cy, Geometry).\n");
  // A damaged entry is listed, saying why, and can be deleted.
  EXPECT_EQ(Run("bin").out,
            "200107-000000-dddd\t\tdamaged: its heading is not whole\t0\t0\t0\n"
            "200106-140502-77c0\t01/06/20 14:05\tStudent Zed, Algebra, with "
            "records\t1\t0\t1\n");
  r = Run("bin --delete " + damaged + " --yes");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Deleted 200107-000000-dddd (damaged: its heading is not whole).\n");
  EXPECT_EQ(BinFiles(), std::vector<std::string>{kZedEntryId + ".qbn"});

  r = Run("bin --empty --yes");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Deleted 1 entry.\n");
  EXPECT_EQ(BinFiles(), std::vector<std::string>{});
  for (const char* command : {"bin", "bin --empty --yes"}) {
    r = Run(command);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(r.out, "") << command;
    EXPECT_EQ(r.err, "The bin is empty.\n") << command;
  }
  // Nothing else in the folder was touched.
  EXPECT_EQ(dir.Read("RECORDS.DAT"), kAnnRec + kBobRec + kCyRec);
  EXPECT_EQ(dir.Read("STUDENTS.DAT"), kBob + kAnn + kCy);
}

TEST_F(BinCliTest, RestoreOnlyWithYesPutsTheRecordsBackAtTheEnd) {
  const std::string bob_result = DiagRec("C1", "1", "2", "091526", kKey, kKey),
                    ann_result = DiagRec("C2", "1", "1", "091626", std::string(30, 'x'), kKey);
  Result r = Run("erase --class 1 --yes");
  EXPECT_EQ(r.out, "Erased 2 records.\n");
  ASSERT_EQ(dir.Read("RECORDS.DAT"), kCyRec);
  r = Run("erase --class 1 --student 2 --diagnostics --yes");
  EXPECT_EQ(r.out, "Erased 1 records.\n");
  ASSERT_EQ(dir.Read("Diag.dat"), ann_result);
  // Both erases may fall in the same second: each entry is found by its line.
  std::string id, results_id;
  for (const std::string& line : Lines(Run("bin").out)) {
    const std::string rest = line.substr(std::min<std::size_t>(line.size(), 34));
    if (rest == "Records of all students in Algebra\t2\t0\t0") id = line.substr(0, 18);
    if (rest == "Diagnostic results of Bob, Algebra\t0\t1\t0") results_id = line.substr(0, 18);
  }
  ASSERT_FALSE(id.empty() || results_id.empty());
  const std::string entry = dir.Read("Erased/" + id + ".qbn");

  r = Run("restore " + id);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "Would restore: Records of all students in Algebra (2 activity records); nothing was "
            "restored (add --yes).\n");
  EXPECT_EQ(dir.Read("RECORDS.DAT"), kCyRec);
  EXPECT_EQ(dir.Read("Erased/" + id + ".qbn"), entry);

  r = Run("restore " + id + " --yes");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Restored: Records of all students in Algebra (2 activity records).\n");
  // Appended as the lessons append, in the order they stood.
  EXPECT_EQ(dir.Read("RECORDS.DAT"), kCyRec + kAnnRec + kBobRec);
  EXPECT_EQ(dir.Read("STUDENTS.DAT"), kBob + kAnn + kCy);
  EXPECT_EQ(dir.Read("CLASSES.DAT"), kGeometry + kAlgebra);
  EXPECT_EQ(Run("restore " + results_id + " --yes").out,
            "Restored: Diagnostic results of Bob, Algebra (1 diagnostic result).\n");
  EXPECT_EQ(dir.Read("Diag.dat"), ann_result + bob_result);
  EXPECT_EQ(BinFiles(), std::vector<std::string>{});
  r = Run("bin");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "The bin is empty.\n");
  // Never twice.
  r = Run("restore " + id + " --yes");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(dir.Read("RECORDS.DAT"), kCyRec + kAnnRec + kBobRec);
}

// Zed's number 2 in class 1 is Bob's now: refused, or renumbered to the
// lowest free number (3) with the record's student number rewritten.
TEST_F(BinCliTest, ANumberGivenToSomeoneElseIsRefusedUnlessRenumbered) {
  CopyIn(kZedEntryId, kZedEntry);
  for (const char* args : {"", " --yes"}) {
    const Result r = Run("restore " + kZedEntryId + args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(r.err,
              "quillon-cli: student 2 of class 1 is now Bob; nothing was restored (add "
              "--renumber to restore under the lowest free numbers)\n");
  }
  EXPECT_EQ(dir.Read("STUDENTS.DAT"), kBob + kAnn + kCy);
  EXPECT_EQ(dir.Read("RECORDS.DAT"), kAnnRec + kBobRec + kCyRec);
  EXPECT_EQ(dir.Read("Erased/" + kZedEntryId + ".qbn"), kZedEntry);

  Result r = Run("restore " + kZedEntryId + " --renumber");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "Would restore: Student Zed, Algebra, with records (1 activity record, 1 roster or "
            "class record), under the lowest free numbers (student 2 of class 1 is now Bob); "
            "nothing was restored (add --yes).\n");
  EXPECT_EQ(dir.Read("STUDENTS.DAT"), kBob + kAnn + kCy);
  r = Run("restore " + kZedEntryId + " --renumber --yes");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Restored: Student Zed, Algebra, with records (1 activity record, 1 roster or class "
            "record), under the lowest free numbers (student 2 of class 1 is now Bob).\n");
  EXPECT_EQ(
      dir.Read("RECORDS.DAT"),
      kAnnRec + kBobRec + kCyRec + ActRec("C3", "1", "3", "010520", "01", "01", "10", "4", "12"));
  EXPECT_EQ(dir.Read("STUDENTS.DAT"), kBob + kAnn + kCy + StudentRec("Zed", "3", "1"));
  EXPECT_EQ(BinFiles(), std::vector<std::string>{});
}

}  // namespace
}  // namespace quillon

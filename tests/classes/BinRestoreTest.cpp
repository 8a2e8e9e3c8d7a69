// The bin from erase to restore: what an entry holds byte for byte, what
// goes back where, and a restore that would give records to someone else.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "classes/ClassOperations.h"
#include "classes/Erase.h"
#include "data/ActivityRecord.h"
#include "store/Bin.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "store/Restore.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/StoreSteps.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::DiagRec;
using testing::StudentRec;
using testing::TempFolder;

const DateTime kNow{Date{2026, 12, 9}, 23, 31, 12};

const std::string kMath = ClassRec("Business Math", "070", "3");
const std::string kOther = ClassRec("Algebra I", "060", "1");
const std::string kOlivia = StudentRec("Olivia Haddad", "2", "3", "abc");
const std::string kAnn = StudentRec("Ann Lee", "1", "3", "xyz");
const std::string kBob = StudentRec("Bob Ray", "1", "1", "qqq");
const std::string kR1 = ActRec("C1", "03", "02", "120126", "01", "01", "10", "9", "5");
const std::string kR2 = ActRec("C1", "03", "01", "120126", "01", "02", "10", "8", "5");
const std::string kR3 = ActRec("C1", "01", "01", "120126", "01", "01", "10", "7", "5");
const std::string kR4 = ActRec("C2", "03", "02", "120226", "02", "01", "12", "12", "9");

void Seed(TempFolder& dir) {
  dir.Write(kClassesFile, kOther + kMath);
  dir.Write(kStudentsFile, kBob + kAnn + kOlivia);
  dir.Write(kRecordsFile, kR1 + kR2 + kR3 + kR4);
}

TEST(BinRestoreTest, AStudentsRecordsGoToTheBinAndComeBack) {
  TempFolder dir;
  Seed(dir);
  EraseResult erased;
  ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, testing::Who(3, 2), &erased).ok());
  EXPECT_EQ(erased.records, 2u);
  ASSERT_EQ(erased.id.substr(0, 14), "261209-233112-");
  EXPECT_EQ(dir.Read(kRecordsFile), kR2 + kR3);

  // The entry, byte for byte (the removal key is random).
  std::string entry = dir.Read("Erased/" + erased.id + ".qbn");
  const std::size_t key_at = entry.find("Group: RECORDS.DAT 25 2 ") + 24;
  ASSERT_NE(key_at, std::string::npos);
  entry.replace(key_at, 16, "KEY");
  EXPECT_EQ(entry, "QUILLON ERASED 1\nID: " + erased.id +
                       "\nWhen: 12/09/26 23:31\nWhat: Records of Olivia Haddad, Business Math\n"
                       "Class: " +
                       kMath + "\nStudent: " + kOlivia + "\nGroup: RECORDS.DAT 25 2 KEY\n" + kR1 +
                       kR4 + "\n");

  std::vector<BinEntry> bin;
  ASSERT_TRUE(ListBin(dir.folder(), &bin).ok());
  ASSERT_EQ(bin.size(), 1u);
  RestorePlan plan;
  ASSERT_TRUE(PlanRestore(dir.folder(), bin[0], false, &plan).ok());
  EXPECT_EQ(plan.conflict, "");
  EXPECT_EQ(plan.Describe(bin[0]), "Records of Olivia Haddad, Business Math (2 activity records)");

  ASSERT_TRUE(RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, &plan).ok());
  // Back at the end, as a lesson appends; the roster untouched.
  EXPECT_EQ(dir.Read(kRecordsFile), kR2 + kR3 + kR1 + kR4);
  EXPECT_EQ(dir.Read(kStudentsFile), kBob + kAnn + kOlivia);
  std::vector<std::string> left;
  ASSERT_TRUE(dir.folder().ListFolder(kBinFolder, &left).ok());
  EXPECT_EQ(left, std::vector<std::string>{"RESTORED"});
}

// The same records, in any order: a restore appends at the end.
std::multiset<std::string> Records(const std::string& bytes, std::size_t length) {
  std::multiset<std::string> records;
  for (std::size_t at = 0; at + length <= bytes.size(); at += length) {
    records.insert(bytes.substr(at, length));
  }
  return records;
}

// Every kind of erase, then its restore: every file holds the same records
// again (up to order), and the bin is empty.
TEST(BinRestoreTest, EveryKindOfEraseIsUndoneByItsRestore) {
  using Erase = std::function<Status(Folder&, EraseResult*)>;
  struct Case {
    const char* name;
    Erase erase;
    std::size_t records, results, roster;
  } cases[] = {
      {"a student's records",
       [](Folder& f, EraseResult* r) { return EraseActivityRecords(f, kNow, testing::Who(3, 2), r); }, 2, 0, 0},
      {"a class's records",
       [](Folder& f, EraseResult* r) { return EraseActivityRecords(f, kNow, testing::Who(3, 0), r); }, 3, 0, 0},
      {"every record",
       [](Folder& f, EraseResult* r) { return EraseActivityRecords(f, kNow, testing::Who(0, 0), r); }, 4, 0, 0},
      {"a student's results",
       [](Folder& f, EraseResult* r) { return EraseDiagnosticResults(f, kNow, testing::Who(3, 2), r); }, 0, 1, 0},
      {"a class's results",
       [](Folder& f, EraseResult* r) { return EraseDiagnosticResults(f, kNow, testing::Who(3, 0), r); }, 0, 2, 0},
      {"a student",
       [](Folder& f, EraseResult* r) { return DeleteStudentWithRecords(f, kNow, testing::Who(3, 2), r); }, 2, 0,
       1},
      {"a class's students",
       [](Folder& f, EraseResult* r) { return DeleteStudentWithRecords(f, kNow, testing::Who(3, 0), r); }, 3, 0,
       2},
      {"a class", [](Folder& f, EraseResult* r) { return DeleteClassWithRecords(f, kNow, testing::Who(3, 0), r); },
       3, 0, 3},
      {"every class",
       [](Folder& f, EraseResult* r) { return DeleteClassWithRecords(f, kNow, Students::EveryClass(), r); }, 4, 0, 5},
  };
  const std::string diag = DiagRec("D1", "03", "02", "120126", "A", "B") +
                           DiagRec("D1", "03", "01", "120126", "C", "D") +
                           DiagRec("D2", "01", "01", "120126", "E", "F");
  for (const Case& c : cases) {
    TempFolder dir;
    Seed(dir);
    dir.Write(kDiagFile, diag);
    const std::string classes = dir.Read(kClassesFile), students = dir.Read(kStudentsFile),
                      records = dir.Read(kRecordsFile);
    EraseResult erased;
    ASSERT_TRUE(c.erase(dir.folder(), &erased).ok()) << c.name;
    EXPECT_EQ(erased.records, c.records) << c.name;
    EXPECT_EQ(erased.results, c.results) << c.name;
    EXPECT_EQ(erased.roster, c.roster) << c.name;
    RestorePlan plan;
    Status s = RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, &plan);
    ASSERT_TRUE(s.ok()) << c.name << ": " << s.ToString();
    EXPECT_EQ(Records(dir.Read(kClassesFile), 32), Records(classes, 32)) << c.name;
    EXPECT_EQ(Records(dir.Read(kStudentsFile), 31), Records(students, 31)) << c.name;
    EXPECT_EQ(Records(dir.Read(kRecordsFile), 25), Records(records, 25)) << c.name;
    EXPECT_EQ(Records(dir.Read(kDiagFile), 72), Records(diag, 72)) << c.name;
    std::vector<std::string> left;
    ASSERT_TRUE(dir.folder().ListFolder(kBinFolder, &left).ok());
    EXPECT_EQ(left, std::vector<std::string>{"RESTORED"}) << c.name;
  }
}

// A deleted class whose number was given to a new class: refused as it is,
// restored under the lowest free numbers when asked, every number field
// rewritten in the style it had.
TEST(BinRestoreTest, AClassWhoseNumberWasTakenComesBackRenumbered) {
  TempFolder dir;
  Seed(dir);
  dir.Write(kDiagFile, DiagRec("D1", "03", "02", "120126", "A", "B"));
  EraseResult erased;
  ASSERT_TRUE(DeleteClassWithRecords(dir.folder(), kNow, testing::Who(3, 0), &erased).ok());
  EXPECT_EQ(erased.records, 3u);
  EXPECT_EQ(erased.roster, 3u);
  EXPECT_EQ(erased.results, 0u);  // results stay with the lessons' own file
  EXPECT_EQ(dir.Read(kClassesFile), kOther);
  EXPECT_EQ(dir.Read(kStudentsFile), kBob);
  EXPECT_EQ(dir.Read(kRecordsFile), kR3);

  // Another program gives class 3 to someone else.
  const std::string kGeometry = ClassRec("Geometry", "060", "3");
  dir.Write(kClassesFile, kOther + kGeometry);

  const std::string before =
      dir.Read(kClassesFile) + dir.Read(kStudentsFile) + dir.Read(kRecordsFile);
  RestorePlan plan;
  Status s = RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, &plan);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(plan.conflict, "class 3 is now Geometry");
  EXPECT_NE(s.what().find("nothing was restored"), std::string::npos) << s.what();
  EXPECT_EQ(dir.Read(kClassesFile) + dir.Read(kStudentsFile) + dir.Read(kRecordsFile), before);

  ASSERT_TRUE(RestoreBinEntry(dir.folder(), erased.id, true, kNow.date, &plan).ok());
  EXPECT_EQ(plan.records, 3u);
  EXPECT_EQ(plan.roster, 3u);
  EXPECT_EQ(dir.Read(kClassesFile), kOther + kGeometry + ClassRec("Business Math", "070", "2"));
  EXPECT_EQ(dir.Read(kStudentsFile), kBob + StudentRec("Ann Lee", "1", "2", "xyz") +
                                         StudentRec("Olivia Haddad", "2", "2", "abc"));
  EXPECT_EQ(dir.Read(kRecordsFile),
            kR3 + ActRec("C1", "02", "02", "120126", "01", "01", "10", "9", "5") +
                ActRec("C1", "02", "01", "120126", "01", "02", "10", "8", "5") +
                ActRec("C2", "02", "02", "120226", "02", "01", "12", "12", "9"));
  std::vector<BinEntry> bin;
  ASSERT_TRUE(ListBin(dir.folder(), &bin).ok());
  EXPECT_TRUE(bin.empty());
}

// A student deleted, a new student given their number: the records come
// back with the old student under the next free number, never to the new one.
TEST(BinRestoreTest, AStudentsNumberGivenToAnotherIsNeverReused) {
  TempFolder dir;
  Seed(dir);
  EraseResult erased;
  ASSERT_TRUE(DeleteStudentWithRecords(dir.folder(), kNow, testing::Who(3, 2), &erased).ok());
  EXPECT_EQ(erased.records, 2u);
  EXPECT_EQ(erased.roster, 1u);
  int zoe = 0;
  ASSERT_TRUE(FileAddStudent(dir.folder(), "Zoe Park", 3, "pw", &zoe).ok());
  ASSERT_EQ(zoe, 2);
  RestorePlan plan;
  ASSERT_FALSE(RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, &plan).ok());
  EXPECT_EQ(plan.conflict, "student 2 of class 3 is now Zoe Park");
  ASSERT_TRUE(RestoreBinEntry(dir.folder(), erased.id, true, kNow.date, &plan).ok());
  const std::string students = dir.Read(kStudentsFile);
  EXPECT_EQ(students.substr(students.size() - 31), StudentRec("Olivia Haddad", "3", "3", "abc"));
  EXPECT_EQ(dir.Read(kRecordsFile),
            kR2 + kR3 + ActRec("C1", "03", "03", "120126", "01", "01", "10", "9", "5") +
                ActRec("C2", "03", "03", "120226", "02", "01", "12", "12", "9"));
}

// A restore that failed part way is finished, once, by whatever comes next:
// the same restore asked again (and reported done), or a deletion of the
// entry, which never drops records half way back.
TEST(BinRestoreTest, ARestoreThatFailedIsFinishedOnceByWhatComesNext) {
  for (const bool delete_next : {false, true}) {
    TempFolder dir;
    Seed(dir);
    EraseResult erased;
    ASSERT_TRUE(DeleteStudentWithRecords(dir.folder(), kNow, testing::Who(3, 2), &erased).ok());
    testing::FaultyFolder failing(&dir.folder(), -1, testing::FaultyFolder::Mode::kFail);
    failing.fail_if = [](const std::string& what) { return what == "WriteIfSize RECORDS.DAT"; };
    ASSERT_FALSE(RestoreBinEntry(failing, erased.id, false, kNow.date, nullptr).ok());
    EXPECT_EQ(dir.Read(kStudentsFile), kBob + kAnn + kOlivia);  // the roster came back first
    EXPECT_EQ(dir.Read(kRecordsFile), kR2 + kR3);

    RestorePlan plan;
    Status s = delete_next ? DeleteBinEntry(dir.folder(), erased.id)
                           : RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, &plan);
    if (delete_next) {
      EXPECT_EQ(s.what(), "is not an entry of the bin");
      EXPECT_EQ(s.file(), "Erased/" + erased.id + ".qbn");
    } else {
      EXPECT_TRUE(s.ok()) << s.ToString();
      EXPECT_EQ(plan.records, 2u);
    }
    EXPECT_EQ(dir.Read(kStudentsFile), kBob + kAnn + kOlivia);
    EXPECT_EQ(dir.Read(kRecordsFile), kR2 + kR3 + kR1 + kR4);
    // The bin holds only the note of completed restores.
    std::vector<std::string> left;
    ASSERT_TRUE(dir.folder().ListFolder(kBinFolder, &left).ok());
    EXPECT_EQ(left, std::vector<std::string>{"RESTORED"});
  }
}

}  // namespace
}  // namespace quillon

// Where the store's pieces meet: each of the program's operations (erase,
// restore, import, bin delete) cut short at every step by a crash and a
// power cut, or by a failure the program lives through; then each operation
// in turn, from a program started again or from the one that went on. Every
// entry point finishes what is pending through the one door, so that after
// any of them every record is in its file or in the bin exactly once, an
// import is all or none, and no student number is given twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "classes/Erase.h"
#include "classes/RosterImport.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "store/Bin.h"
#include "store/Pending.h"
#include "store/Read.h"
#include "store/Restore.h"
#include "support/core/Builders.h"
#include "support/core/CountingRandom.h"
#include "support/core/FaultyFolder.h"
#include "support/core/StoreSteps.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::Crash;
using testing::FaultyFolder;
using testing::StudentRec;
using testing::TempFolder;
using testing::Who;

const DateTime kNow{Date{2026, 12, 10}, 10, 0, 0};

std::string Rec(const char* cls, const char* stu, const char* tag) {
  return ActRec("C1", cls, stu, "121026", "01", "01", tag, "1", "1");
}
const std::string kAnn = Rec("3", "1", "11") + Rec("3", "1", "12");
const std::string kBob = Rec("3", "2", "21") + Rec("3", "2", "22") + Rec("3", "2", "23");
const std::string kCy = Rec("1", "1", "31") + Rec("1", "1", "32");

std::vector<std::string> Records(std::string_view bytes) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at + 25 <= bytes.size(); at += 25) out.emplace_back(bytes.substr(at, 25));
  std::sort(out.begin(), out.end());
  return out;
}

// The folder every case starts from: Bob's records erased (entry `bob`, to
// restore) and Ann's (entry `ann`, to delete); Cy's in RECORDS.DAT.
struct Start {
  std::string bob, ann;
  ImportPreview dee_ed, fay_gil;
};

Start Seed(TempFolder& dir) {
  dir.Write(kClassesFile, ClassRec("Algebra", "060", "1") + ClassRec("Geometry", "070", "3"));
  dir.Write(kStudentsFile, StudentRec("Cy", "1", "1") + StudentRec("Ann", "1", "3") +
                               StudentRec("Bob", "2", "3"));
  dir.Write(kRecordsFile, kAnn + kBob + kCy);
  Start start;
  EraseResult erased;
  EXPECT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 2), &erased).ok());
  start.bob = erased.id;
  EXPECT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 1), &erased).ok());
  start.ann = erased.id;
  for (auto [rows, preview] : {std::pair{"Name\nDee\nEd\n", &start.dee_ed},
                               std::pair{"Name\nFay\nGil\n", &start.fay_gil}}) {
    RosterTable table;
    EXPECT_TRUE(ParseRosterText(rows, "roster.csv", &table).ok());
    testing::CountingRandom random;
    EXPECT_TRUE(BuildImportPreview(dir.folder(), table, 1, random, preview).ok());
  }
  return start;
}

using Operation = std::function<Status(Folder&, const Start&)>;
const std::pair<const char*, Operation> kOperations[] = {
    {"start", [](Folder& f, const Start&) { return RecoverFolder(f); }},
    {"read",
     [](Folder& f, const Start&) {
       RecordSet records;
       return ReadRecords(f, kRecordsFile, kActivityRecordLength, &records);
     }},
    {"erase",
     [](Folder& f, const Start&) {
       EraseResult result;
       return EraseActivityRecords(f, kNow, Who(1, 1), &result);
     }},
    {"restore",
     [](Folder& f, const Start& s) { return RestoreBinEntry(f, s.bob, false, kNow.date, nullptr); }},
    {"import", [](Folder& f, const Start& s) { return FileImportStudents(f, s.dee_ed, nullptr); }},
    {"import again",
     [](Folder& f, const Start& s) { return FileImportStudents(f, s.fay_gil, nullptr); }},
    {"bin delete", [](Folder& f, const Start& s) { return DeleteBinEntry(f, s.ann); }},
};

// What must hold once the door has run.
void ExpectWhole(TempFolder& dir, const std::string& where) {
  ASSERT_TRUE(RecoverFolder(dir.folder()).ok()) << where;
  const std::string file = dir.Read(kRecordsFile);
  EXPECT_EQ(file.size() % 25, 0u) << where;
  EXPECT_EQ(file.find('\0'), std::string::npos) << where;
  std::string all = file;
  std::vector<BinEntry> bin;
  ASSERT_TRUE(ListBin(dir.folder(), &bin).ok()) << where;
  bool ann_in_bin = false;
  for (const BinEntry& e : bin) {
    EXPECT_TRUE(e.damage.empty()) << where;
    for (const BinGroup& g : e.groups) {
      if (g.file == kRecordsFile) all += g.records;
      ann_in_bin = ann_in_bin || g.records.find(kAnn) != std::string::npos;
    }
  }
  // Ann's records may be gone for good, by a bin delete; nothing else may.
  const bool ann_deleted = !ann_in_bin && file.find(kAnn) == std::string::npos;
  EXPECT_EQ(Records(all), Records(ann_deleted ? kBob + kCy : kAnn + kBob + kCy)) << where;
  const RecordSet students(dir.Read(kStudentsFile), kStudentRecordLength);
  std::map<std::pair<int, int>, int> numbers;
  std::set<std::string> names;
  for (std::size_t i = 0; i < students.Count(); ++i) {
    const std::string_view r = students.At(i);
    ++numbers[{StudentClassNumberOf(r), StudentNumberOf(r)}];
    names.insert(StudentDisplayName(r));
  }
  for (const auto& [number, times] : numbers) EXPECT_EQ(times, 1) << where << ": a number twice";
  EXPECT_EQ(names.count("Dee"), names.count("Ed")) << where;
  EXPECT_EQ(names.count("Fay"), names.count("Gil")) << where;
  std::vector<std::string> left;
  ASSERT_TRUE(dir.folder().ListFolder(kBinFolder, &left).ok());
  for (const std::string& name : left) {
    EXPECT_EQ(name.find(".restoring"), std::string::npos) << where;
    EXPECT_EQ(name.find(".new"), std::string::npos) << where;
  }
}

TEST(OneDoorCrashTest, AfterAnyCutShortOperationEveryOperationFindsTheFilesWhole) {
  // The first four are the operations cut short; each is followed by every
  // one of kOperations.
  const std::vector<std::size_t> cut_short = {2, 3, 4, 6};
  for (std::size_t first : cut_short) {
    int operations = 0;
    {
      TempFolder dir;
      const Start start = Seed(dir);
      FaultyFolder counting(&dir.folder(), -1, FaultyFolder::Mode::kFail);
      ASSERT_TRUE(kOperations[first].second(counting, start).ok()) << kOperations[first].first;
      operations = counting.operations();
    }
    for (int k = 1; k <= operations; ++k) {
      // Power cuts that lose every unflushed change, keep them all, or keep
      // some; and a failure the program lives through.
      for (unsigned seed : {0u, 1u, 2u, 3u, 99u}) {
        for (const auto& [next_name, next] : kOperations) {
          TempFolder dir;
          const Start start = Seed(dir);
          const bool fail = seed == 99;
          FaultyFolder faulty(&dir.folder(), k,
                              fail ? FaultyFolder::Mode::kFail : FaultyFolder::Mode::kCrash);
          try {
            (void)kOperations[first].second(faulty, start);
          } catch (const Crash&) {
          }
          const std::string where = std::string(kOperations[first].first) + " cut short at step " +
                                    std::to_string(k) + (fail ? " (a failure)" : ", power cut ") +
                                    (fail ? "" : std::to_string(seed)) + ", then " + next_name;
          Status s;
          if (fail) {
            s = next(faulty, start);  // the program that went on
          } else {
            faulty.PowerCut(seed);
            s = next(dir.folder(), start);  // a program started again
          }
          EXPECT_NE(s.code(), StatusCode::kDamaged) << where << ": " << s.ToString();
          ExpectWhole(dir, where);
          if (::testing::Test::HasFailure()) return;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quillon

// The bin across crashes and power cuts: after an erase or a restore cut
// short at any step (a lesson appending at that moment) and the next start,
// every record is in its file or in exactly one bin entry, never both,
// never neither.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "classes/Erase.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "store/Bin.h"
#include "store/Pending.h"
#include "store/Purge.h"
#include "store/Restore.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/StoreSteps.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;
using testing::Crash;
using testing::FaultyFolder;
using testing::TempFolder;

std::string Rec(const char* cls, const char* stu, const char* tag) {
  return ActRec("C1", cls, stu, "010126", "01", "01", tag, "1", "1");
}

const DateTime kNow{Date{2026, 12, 9}, 8, 5, 0};
const std::string kOld = Rec("1", "1", "1") + Rec("3", "2", "2") + Rec("2", "2", "3") +
                         Rec("3", "2", "4") + Rec("1", "2", "5");
const std::string kKept = Rec("1", "1", "1") + Rec("2", "2", "3") + Rec("1", "2", "5");
const std::string kRemoved = Rec("3", "2", "2") + Rec("3", "2", "4");
const std::string kLesson = Rec("1", "7", "777");

// Every record of the bin's entries, entry after entry.
std::string InBin(Folder& folder, std::size_t* entries) {
  std::vector<BinEntry> bin;
  EXPECT_TRUE(ListBin(folder, &bin).ok());
  *entries = bin.size();
  std::string records;
  for (const BinEntry& e : bin) {
    for (const BinGroup& g : e.groups) records += g.records;
  }
  return records;
}

// Runs `step` on a folder that crashes (or fails) at operation k, a lesson
// appending just before; then the power goes as `seed` says, and the next
// start finishes what it can. Returns whether `step` reported success.
template <typename Step>
bool CutShortAndStartAgain(TempFolder& dir, int k, unsigned seed, Step step) {
  const auto mode = seed == 5 ? FaultyFolder::Mode::kFail : FaultyFolder::Mode::kCrash;
  FaultyFolder faulty(&dir.folder(), k, mode);
  faulty.before = [&](int n, const std::string&) {
    if (n == k) faulty.LessonAppends(kRecordsFile, kLesson);
  };
  bool ok = false;
  try {
    ok = step(faulty).ok();
  } catch (const Crash&) {
  }
  if (mode == FaultyFolder::Mode::kCrash) faulty.PowerCut(seed);
  Status s = RecoverFolder(dir.folder());
  EXPECT_TRUE(s.ok()) << "step " << k << ", power cut " << seed << ": " << s.ToString();
  return ok;
}

int Operations(TempFolder& dir, const std::function<Status(Folder&)>& step) {
  FaultyFolder counting(&dir.folder(), -1, FaultyFolder::Mode::kFail);
  EXPECT_TRUE(step(counting).ok());
  return counting.operations();
}

TEST(BinCrashTest, AnEraseCutShortLeavesEachRecordInItsFileOrInTheBin) {
  auto erase = [](Folder& folder) {
    EraseResult result;
    return EraseActivityRecords(folder, kNow, testing::Who(3, 2), &result);
  };
  int operations = 0;
  {
    TempFolder dir;
    dir.Write(kRecordsFile, kOld);
    operations = Operations(dir, erase);
  }
  ASSERT_GT(operations, 15);
  for (int k = 1; k <= operations + 1; ++k) {
    for (unsigned seed = 0; seed < 6; ++seed) {
      TempFolder dir;
      dir.Write(kRecordsFile, kOld);
      const bool ok = CutShortAndStartAgain(dir, k, seed, erase);
      const std::string now = dir.Read(kRecordsFile);
      const std::string lesson = now.size() % 50 == 0 ? kLesson : "";
      std::size_t entries = 0;
      const std::string bin = InBin(dir.folder(), &entries);
      const std::string where = "step " + std::to_string(k) + ", power cut " + std::to_string(seed);
      if (now == kOld + lesson) {
        EXPECT_EQ(entries, 0u) << where;
      } else {
        EXPECT_EQ(now, kKept + lesson) << where;
        EXPECT_EQ(entries, 1u) << where;
        EXPECT_EQ(bin, kRemoved) << where;
      }
      if (ok) {
        EXPECT_EQ(bin, kRemoved) << where;
      }
    }
  }
}

TEST(BinCrashTest, ARestoreCutShortIsFinishedOnceOrNotBegun) {
  std::string id;
  auto restore = [&](Folder& folder) { return RestoreBinEntry(folder, id, false, kNow.date, nullptr); };
  auto erased = [&](TempFolder& dir) {
    dir.Write(kRecordsFile, kOld);
    EraseResult result;
    ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, testing::Who(3, 2), &result).ok());
    id = result.id;
  };
  int operations = 0;
  {
    TempFolder dir;
    erased(dir);
    operations = Operations(dir, restore);
  }
  ASSERT_GT(operations, 15);
  for (int k = 1; k <= operations + 1; ++k) {
    for (unsigned seed = 0; seed < 6; ++seed) {
      TempFolder dir;
      erased(dir);
      const bool ok = CutShortAndStartAgain(dir, k, seed, restore);
      std::string now = dir.Read(kRecordsFile);
      // The lesson's record, wherever the power cut left it (its own write
      // is never torn), taken out to compare the rest.
      const std::size_t lesson_at = now.find(kLesson);
      if (lesson_at != std::string::npos) now.erase(lesson_at, kLesson.size());
      std::size_t entries = 0;
      const std::string bin = InBin(dir.folder(), &entries);
      const std::string where = "step " + std::to_string(k) + ", power cut " + std::to_string(seed);
      if (now == kKept) {
        EXPECT_EQ(bin, kRemoved) << where;
        EXPECT_FALSE(ok) << where;
      } else {
        EXPECT_EQ(now, kKept + kRemoved) << where;
        EXPECT_EQ(entries, 0u) << where;
      }
      std::vector<std::string> left;
      ASSERT_TRUE(dir.folder().ListFolder(kBinFolder, &left).ok());
      for (const std::string& name : left) {
        EXPECT_EQ(name.find(".restoring"), std::string::npos) << where;
      }
    }
  }
}

// A class deleted with its students and records, then restored, cut short
// at every step by a crash and every kind of power cut (names of files made
// or renamed since their folder's flush lost too): three groups, each back
// once or not at all, the entry gone only when all are back.
TEST(BinCrashTest, AMultiGroupRestoreCutShortIsNeverDoubled) {
  const std::string classes = ClassRec("Algebra", "060", "1") + ClassRec("Geometry", "070", "3");
  const std::string students = StudentRec("Cy", "1", "1") + StudentRec("Bob", "2", "3");
  std::string id;
  auto deleted = [&](TempFolder& dir) {
    dir.Write(kClassesFile, classes);
    dir.Write(kStudentsFile, students);
    dir.Write(kRecordsFile, kOld);
    EraseResult result;
    ASSERT_TRUE(DeleteClassWithRecords(dir.folder(), kNow, Students::WholeClass(ClassNum(3)),
                                       &result)
                    .ok());
    id = result.id;
  };
  auto restore = [&](Folder& folder) {
    return RestoreBinEntry(folder, id, false, kNow.date, nullptr);
  };
  int operations = 0;
  {
    TempFolder dir;
    deleted(dir);
    operations = Operations(dir, restore);
  }
  for (int k = 1; k <= operations + 1; ++k) {
    for (unsigned seed = 0; seed < 6; ++seed) {
      TempFolder dir;
      deleted(dir);
      (void)CutShortAndStartAgain(dir, k, seed, restore);
      std::string now = dir.Read(kRecordsFile);
      const std::size_t lesson_at = now.find(kLesson);
      if (lesson_at != std::string::npos) now.erase(lesson_at, kLesson.size());
      std::size_t entries = 0;
      const std::string bin = InBin(dir.folder(), &entries);
      const std::string where = "step " + std::to_string(k) + ", power cut " + std::to_string(seed);
      // Each file holds its records once: as before the restore, or after.
      const std::string roster = dir.Read(kStudentsFile), list = dir.Read(kClassesFile);
      EXPECT_TRUE(list == ClassRec("Algebra", "060", "1") || list == classes) << where;
      EXPECT_TRUE(roster == StudentRec("Cy", "1", "1") || roster == students) << where;
      EXPECT_TRUE(now == kKept || now == kKept + kRemoved) << where;
      if (entries == 0) {
        EXPECT_EQ(now, kKept + kRemoved) << where;
        EXPECT_EQ(roster, students) << where;
        EXPECT_EQ(list, classes) << where;
      } else {
        EXPECT_EQ(bin, kRemoved + StudentRec("Bob", "2", "3") + ClassRec("Geometry", "070", "3"))
            << where;
        EXPECT_EQ(now, kKept) << where;
      }
    }
  }
}

// Beside a lesson that appends about 900 records a second, a restore
// appends as a lesson does, between two of its records, and ends; an erase
// after it is not held up by it. Nothing of the lesson's is lost.
TEST(BinCrashTest, ARestoreBesideABusyLessonEnds) {
  TempFolder dir;
  dir.Write(kRecordsFile, kOld);
  EraseResult erased;
  ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, testing::Who(3, 2), &erased).ok());
  const std::string file = dir.path() + "/RECORDS.DAT";
  const pid_t lesson = ::fork();
  if (lesson == 0) {
    ::execl(LESSON_SIMULATOR, LESSON_SIMULATOR, file.c_str(), "3000", "1 ", "9 ", "1100",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::usleep(200000);  // the lesson is under way
  RestorePlan plan;
  Status s = RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, &plan);
  EXPECT_TRUE(s.ok()) << s.ToString();
  EXPECT_EQ(plan.records, 2u);
  EraseResult again;
  s = EraseActivityRecords(dir.folder(), kNow, testing::Who(1, 1), &again);
  EXPECT_TRUE(s.ok()) << s.ToString();
  int status = 0;
  ::waitpid(lesson, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const std::string now = dir.Read(kRecordsFile);
  ASSERT_EQ(now.size() % 25, 0u);
  std::string restored, lessons;
  int previous = 0;
  for (std::size_t at = 0; at < now.size(); at += 25) {
    const std::string r = now.substr(at, 25);
    if (r.compare(2, 4, "1 9 ") == 0) {
      const int n = std::stoi(r.substr(16, 9));
      EXPECT_EQ(n, previous + 1) << "a lesson's record lost or doubled";
      previous = n;
    } else if (r.compare(2, 4, "3 2 ") == 0) {
      restored += r;
    }
  }
  EXPECT_EQ(previous, 3000);
  EXPECT_EQ(restored, kRemoved);
}

}  // namespace
}  // namespace quillon

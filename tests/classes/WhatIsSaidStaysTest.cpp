// What the store reports is what a power cut right after it leaves: a change
// said to be made (or completed after a crash) is on disk, one said not to
// be made is not, an entry said to be deleted stays deleted, and an erase
// undone after its records reached the bin takes them out again. Every flush
// of the store is there for one of these (tools/mutate-flushes.sh).
#include <gtest/gtest.h>

#include <algorithm>

#include "classes/ClassOperations.h"
#include "classes/Erase.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "store/Bin.h"
#include "store/Pending.h"
#include "store/Restore.h"
#include "support/core/Builders.h"
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

const DateTime kNow{Date{2026, 12, 10}, 11, 0, 0};

std::string Rec(const char* cls, const char* stu, const char* tag) {
  return ActRec("C1", cls, stu, "121026", "01", "01", tag, "1", "1");
}
const std::string kAnn = Rec("3", "1", "11") + Rec("3", "1", "12");
const std::string kBob = Rec("3", "2", "21") + Rec("3", "2", "22");

std::vector<std::string> Sorted(std::string_view bytes) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at + 25 <= bytes.size(); at += 25) out.emplace_back(bytes.substr(at, 25));
  std::sort(out.begin(), out.end());
  return out;
}

// Every power cut that a folder with `unsynced` changes pending can meet:
// the usual seeds, then, where few, every combination kept and lost.
std::vector<unsigned> PowerCuts(std::size_t unsynced) {
  std::vector<unsigned> seeds = {0, 1, 2, 3, 4};
  for (unsigned m = 0; unsynced <= 8 && m < (1u << unsynced); ++m) {
    seeds.push_back(FaultyFolder::kEveryCombination + m);
  }
  return seeds;
}

// Runs `step` on a folder that crashes at operation k (none: -1), then cuts
// the power as `seed` says; `*ok` says whether the step reported success.
template <typename Prepare, typename Step, typename Check>
void EveryCrashAndPowerCut(Prepare prepare, Step step, Check check) {
  int operations = 0;
  {
    TempFolder dir;
    prepare(dir);
    FaultyFolder counting(&dir.folder(), -1, FaultyFolder::Mode::kFail);
    (void)step(counting);
    operations = counting.operations();
  }
  for (int k = 1; k <= operations + 1; ++k) {
    std::size_t unsynced = 0;
    for (std::size_t i = 0; i < PowerCuts(unsynced).size(); ++i) {
      TempFolder dir;
      prepare(dir);
      FaultyFolder faulty(&dir.folder(), k, FaultyFolder::Mode::kCrash);
      bool ok = false;
      try {
        ok = step(faulty).ok();
      } catch (const Crash&) {
      }
      if (i == 0) unsynced = faulty.Unsynced();
      const unsigned seed = PowerCuts(unsynced)[i];
      faulty.PowerCut(seed);
      check(dir, ok, "step " + std::to_string(k) + ", power cut " + std::to_string(seed));
      if (::testing::Test::HasFailure()) return;
    }
  }
}

// A class renamed: said done, it is done; else the old name or the new,
// whole, after the next start.
TEST(WhatIsSaidStaysTest, ARenameSaidDoneSurvivesAnyPowerCut) {
  const std::string before = ClassRec("Algebra", "060", "1") + ClassRec("Geometry", "070", "3");
  const std::string after = ClassRec("Algebra", "060", "1") + ClassRec("Trigonometry", "070", "3");
  EveryCrashAndPowerCut([&](TempFolder& dir) { dir.Write(kClassesFile, before); },
                        [](Folder& f) { return FileEditClass(f, 3, "Trigonometry"); },
                        [&](TempFolder& dir, bool ok, const std::string& where) {
                          ASSERT_TRUE(RecoverFolder(dir.folder()).ok()) << where;
                          const std::string now = dir.Read(kClassesFile);
                          if (ok) {
                            EXPECT_EQ(now, after) << where;
                          } else {
                            EXPECT_TRUE(now == before || now == after) << where;
                          }
                        });
}

// A rename cut short, then the start that completes it, itself followed by
// a power cut: what the start said it completed is on disk.
TEST(WhatIsSaidStaysTest, AChangeTheStartCompletedSurvivesAnyPowerCut) {
  const std::string before = ClassRec("Algebra", "060", "1") + ClassRec("Geometry", "070", "3");
  const std::string after = ClassRec("Algebra", "060", "1") + ClassRec("Trigonometry", "070", "3");
  auto cut_short = [&](TempFolder& dir) {
    dir.Write(kClassesFile, before);
    FaultyFolder faulty(&dir.folder(), -1, FaultyFolder::Mode::kCrash);
    faulty.before = [](int, const std::string& what) {
      if (what == "Sync CLASSES.DAT") throw Crash{};  // the changes written, not forced
    };
    EXPECT_THROW((void)FileEditClass(faulty, 3, "Trigonometry"), Crash);
    faulty.PowerCut(0);  // the changes lost, the journal there
  };
  EveryCrashAndPowerCut(cut_short, [](Folder& f) { return RecoverFolder(f); },
                        [&](TempFolder& dir, bool ok, const std::string& where) {
                          ASSERT_TRUE(RecoverFolder(dir.folder()).ok()) << where;
                          const std::string now = dir.Read(kClassesFile);
                          EXPECT_EQ(now, ok ? after : now) << where;
                          EXPECT_TRUE(now == before || now == after) << where;
                        });
}

// Students added: said added, they are there; said not added (the file's
// flush failed and the addition was undone), they are not.
TEST(WhatIsSaidStaysTest, AnAdditionSaidUndoneLeavesNothing) {
  const std::string roster = StudentRec("Ann", "1", "3");
  const std::string added = StudentRec("Dee", "2", "3") + StudentRec("Ed", "3", "3");
  TempFolder dir;
  dir.Write(kStudentsFile, roster);
  FaultyFolder failing(&dir.folder(), -1, FaultyFolder::Mode::kFail);
  bool failed = false;
  failing.fail_if = [&](const std::string& what) {
    if (what != "Sync STUDENTS.DAT" || failed) return false;
    return failed = true;  // the first flush only: the undoing's goes through
  };
  Status s = testing::AppendRecordsNow(failing, kStudentsFile, added);
  ASSERT_EQ(s.ToString(), "STUDENTS.DAT: injected fault; nothing was added");
  const std::size_t unsynced = failing.Unsynced();
  for (unsigned seed : PowerCuts(unsynced)) {
    TempFolder copy;
    copy.Write(kStudentsFile, roster);
    FaultyFolder again(&copy.folder(), -1, FaultyFolder::Mode::kFail);
    bool first = true;
    again.fail_if = [&](const std::string& what) {
      if (what != "Sync STUDENTS.DAT" || !first) return false;
      first = false;
      return true;
    };
    ASSERT_FALSE(testing::AppendRecordsNow(again, kStudentsFile, added).ok());
    again.PowerCut(seed);
    ASSERT_TRUE(RecoverFolder(copy.folder()).ok()) << seed;
    EXPECT_EQ(copy.Read(kStudentsFile), roster) << "power cut " << seed;
  }
}

// A restore's append cut short half written, completed by the next start,
// which a power cut then follows: every record in its file or the bin, once.
TEST(WhatIsSaidStaysTest, AnAppendTheStartCompletedSurvivesAnyPowerCut) {
  std::string id;
  auto cut_short = [&](TempFolder& dir) {
    dir.Write(kRecordsFile, kAnn + kBob);
    EraseResult erased;
    ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 2), &erased).ok());
    id = erased.id;
    FaultyFolder faulty(&dir.folder(), -1, FaultyFolder::Mode::kCrash);
    faulty.before = [](int, const std::string& what) {
      if (what == "Sync RECORDS.DAT") throw Crash{};
    };
    EXPECT_THROW((void)RestoreBinEntry(faulty, id, false, kNow.date, nullptr), Crash);
    faulty.PowerCut(2);
  };
  EveryCrashAndPowerCut(cut_short, [](Folder& f) { return RecoverFolder(f); },
                        [&](TempFolder& dir, bool, const std::string& where) {
                          ASSERT_TRUE(RecoverFolder(dir.folder()).ok()) << where;
                          std::string all = dir.Read(kRecordsFile);
                          std::vector<BinEntry> bin;
                          ASSERT_TRUE(ListBin(dir.folder(), &bin).ok());
                          for (const BinEntry& e : bin) {
                            for (const BinGroup& g : e.groups) all += g.records;
                          }
                          EXPECT_EQ(Sorted(all), Sorted(kAnn + kBob)) << where;
                        });
}

// An entry said deleted stays deleted; so does a bin said emptied.
TEST(WhatIsSaidStaysTest, AnEntrySaidDeletedStaysDeleted) {
  std::string id;
  auto erased = [&](TempFolder& dir) {
    dir.Write(kRecordsFile, kAnn + kBob);
    EraseResult result;
    ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 2), &result).ok());
    id = result.id;
  };
  for (const bool empty : {false, true}) {
    EveryCrashAndPowerCut(
        erased, [&](Folder& f) { return empty ? EmptyBin(f) : DeleteBinEntry(f, id); },
        [&](TempFolder& dir, bool ok, const std::string& where) {
          if (ok) {
            EXPECT_FALSE(dir.Exists("Erased/" + id + ".qbn")) << where;
          }
        });
  }
}

// An erase whose bin entry already holds records when the removal is undone
// (its next write to the bin fails): the records are taken out of the bin
// again, so that after any crash and power cut each is in the file or the
// bin, once.
TEST(WhatIsSaidStaysTest, AnEraseUndoneAfterItsRecordsReachedTheBinTakesThemOut) {
  const std::string late = Rec("3", "2", "29");
  auto prepare = [&](TempFolder& dir) { dir.Write(kRecordsFile, kAnn + kBob); };
  // Bob works on while his records are erased: a record of his after the
  // first write to the bin, so that the bin is written again; that write
  // fails, and the removal is undone.
  auto erase = [&](Folder& f) {
    auto& faulty = static_cast<FaultyFolder&>(f);
    int bin_opens = 0, bin_renames = 0;
    faulty.before = [&](int, const std::string& what) {
      if (what.rfind("ReplaceFile Erased/", 0) == 0 && ++bin_renames == 1) {
        faulty.LessonAppends(kRecordsFile, late);
      }
    };
    // The bin's file is opened to be written three times: the look that it
    // can be, the first group, the group again with Bob's late record.
    faulty.fail_if = [&](const std::string& what) {
      return what.rfind("OpenPrivateFile Erased/", 0) == 0 && ++bin_opens == 3;
    };
    EraseResult result;
    return EraseActivityRecords(f, kNow, Who(3, 2), &result);
  };
  EveryCrashAndPowerCut(prepare, erase, [&](TempFolder& dir, bool ok, const std::string& where) {
    EXPECT_FALSE(ok) << where;
    ASSERT_TRUE(RecoverFolder(dir.folder()).ok()) << where;
    const std::string file = dir.Read(kRecordsFile);
    std::string all = file;
    std::vector<BinEntry> bin;
    ASSERT_TRUE(ListBin(dir.folder(), &bin).ok());
    for (const BinEntry& e : bin) {
      for (const BinGroup& g : e.groups) all += g.records;
    }
    // Bob's late record may be lost to the power cut (the lesson does not
    // flush), never doubled.
    const bool has_late = all.find(late) != std::string::npos;
    EXPECT_EQ(Sorted(all), Sorted(kAnn + kBob + (has_late ? late : ""))) << where;
  });
}

// A lesson's record appended just before an erase reads the file, or while
// it runs, not yet forced to disk by the lesson; then a crash at any step and
// any power cut: each record is in the file or the bin, once (the lesson's
// own record may be lost to the power cut, as it would be without the
// erase; never doubled, never half there).
TEST(WhatIsSaidStaysTest, ALessonsUnforcedRecordReadByAnEraseIsNeverHalfThere) {
  for (const char* when : {"Read RECORDS.DAT", "ReplaceFile Erased/"}) {
    for (const char* whose : {"1", "2"}) {  // Ann's (kept) or Bob's (erased)
      const std::string late = Rec("3", whose, "39");
      auto prepare = [&](TempFolder& dir) { dir.Write(kRecordsFile, kAnn + kBob); };
      auto erase = [&](Folder& f) {
        auto& faulty = static_cast<FaultyFolder&>(f);
        bool appended = false;
        faulty.before = [&, when](int, const std::string& what) {
          if (!appended && what.rfind(when, 0) == 0) {
            appended = true;
            faulty.LessonAppends(kRecordsFile, late);
          }
        };
        EraseResult result;
        const Status s = EraseActivityRecords(f, kNow, Who(3, 2), &result);
        faulty.before = nullptr;
        return s;
      };
      EveryCrashAndPowerCut(
          prepare, erase, [&](TempFolder& dir, bool, const std::string& where) {
            ASSERT_TRUE(RecoverFolder(dir.folder()).ok()) << where;
            const std::string file = dir.Read(kRecordsFile);
            EXPECT_EQ(file.find('\0'), std::string::npos) << where;
            std::string all = file;
            std::vector<BinEntry> bin;
            ASSERT_TRUE(ListBin(dir.folder(), &bin).ok());
            for (const BinEntry& e : bin) {
              for (const BinGroup& g : e.groups) all += g.records;
            }
            const bool has_late = all.find(late) != std::string::npos;
            EXPECT_EQ(Sorted(all), Sorted(kAnn + kBob + (has_late ? late : "")))
                << when << ", record of student " << whose << ", " << where;
          });
    }
  }
}

}  // namespace
}  // namespace quillon

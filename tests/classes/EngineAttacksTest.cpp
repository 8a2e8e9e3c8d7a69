// The store where its pieces meet, tried as an adversary would: a bin that
// cannot be written, an unnamed lock, a restore whose flush fails beside a
// lesson, damaged and copied-back bin entries, set-aside journals by the
// thousand, a record written in two pieces, a holder stopped and taken over,
// a change in place cut short.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "classes/ClassOperations.h"
#include "classes/Erase.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "platform/PosixFolder.h"
#include "store/Bin.h"
#include "store/Pending.h"
#include "store/Purge.h"
#include "store/Read.h"
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

const DateTime kNow{Date{2026, 12, 10}, 9, 30, 0};

std::string Rec(const char* cls, const char* stu, const char* tag) {
  return ActRec("C1", cls, stu, "121026", "01", "01", tag, "1", "1");
}

// Two students of class 3 and one of class 1, three records each.
const std::string kAnn = Rec("3", "1", "11") + Rec("3", "1", "12") + Rec("3", "1", "13");
const std::string kBob = Rec("3", "2", "21") + Rec("3", "2", "22") + Rec("3", "2", "23");
const std::string kCy = Rec("1", "1", "31") + Rec("1", "1", "32") + Rec("1", "1", "33");

void Seed(TempFolder& dir) {
  dir.Write(kClassesFile, ClassRec("Algebra", "060", "1") + ClassRec("Geometry", "070", "3"));
  dir.Write(kStudentsFile, StudentRec("Cy", "1", "1") + StudentRec("Ann", "1", "3") +
                               StudentRec("Bob", "2", "3"));
  dir.Write(kRecordsFile, kAnn + kBob + kCy);
}

// Every activity record in the bin's entries.
std::string InBin(Folder& folder) {
  std::vector<BinEntry> entries;
  EXPECT_TRUE(ListBin(folder, &entries).ok());
  std::string records;
  for (const BinEntry& e : entries) {
    for (const BinGroup& g : e.groups) {
      if (g.file == kRecordsFile) records += g.records;
    }
  }
  return records;
}

// A bin that cannot be written: an erase does not begin, and says why,
// naming the bin; a second erase loses nothing of the first; once the bin
// can be written, both go there whole. A bin that fills up as the records
// are put in: the removal is undone.
TEST(EngineAttacksTest, AnEraseWhoseBinCannotBeWrittenChangesNothing) {
  TempFolder dir;
  Seed(dir);
  FaultyFolder no_bin(&dir.folder(), -1, FaultyFolder::Mode::kFail);
  no_bin.fail_if = [](const std::string& what) {
    return what.rfind("OpenPrivateFile Erased/", 0) == 0;
  };
  EraseResult result;
  for (const Students& who : {Who(3, 1), Who(3, 2)}) {
    Status s = EraseActivityRecords(no_bin, kNow, who, &result);
    EXPECT_EQ(s.ToString(),
              "Erased/: the bin cannot be written (injected fault), so nothing can be erased: "
              "what is erased is kept there; nothing was removed");
    EXPECT_EQ(result.records, 0u);
    EXPECT_EQ(dir.Read(kRecordsFile), kAnn + kBob + kCy);
  }
  ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 1), &result).ok());
  ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 2), &result).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), kCy);
  const std::string bin = InBin(dir.folder());
  EXPECT_EQ(bin.size(), (kAnn + kBob).size());
  EXPECT_NE(bin.find(kAnn), std::string::npos);
  EXPECT_NE(bin.find(kBob), std::string::npos);

  // The bin's group cannot be written (no space): undone, every record back.
  TempFolder full;
  Seed(full);
  FaultyFolder no_space(&full.folder(), -1, FaultyFolder::Mode::kFail);
  no_space.fail_if = [](const std::string& what) {
    return what.rfind("Write Erased/", 0) == 0 && what.find(".qbn.new") != std::string::npos;
  };
  Status s = EraseActivityRecords(no_space, kNow, Who(3, 2), &result);
  EXPECT_EQ(s.file().substr(0, 7), "Erased/");
  EXPECT_EQ(s.what(), "injected fault; the removal was undone and nothing was removed");
  EXPECT_EQ(full.Read(kRecordsFile), kAnn + kBob + kCy);
  EXPECT_EQ(InBin(full.folder()), "");
  EXPECT_EQ(full.Read("RECORDS.TMP"), "");
}

// A lock folder whose holder never wrote its name (a program stopped as it
// took the lock) is taken over once it is ten seconds old; younger, a
// second program waits and says what it found.
TEST(EngineAttacksTest, AnUnnamedLockIsTakenOverAfterAFewSeconds) {
  TempFolder dir;
  Seed(dir);
  const auto lock = std::filesystem::path(dir.path()) / kLockFile;
  std::filesystem::create_directory(lock);
  Status s = WithLock(
      dir.folder(), nullptr, [](const LockToken&) { return Status::OK(); }, nullptr,
      std::chrono::milliseconds(50));
  EXPECT_EQ(s.code(), StatusCode::kBusy);
  EXPECT_EQ(s.ToString(),
            "QUILLON.LCK: another removal or change of records is in progress (it names no "
            "holder yet; a lock left so by a program stopped as it took it is taken over when 10 "
            "seconds old); nothing was changed. Try again when it has ended.");
  std::filesystem::last_write_time(
      lock, std::filesystem::last_write_time(lock) - std::chrono::seconds(11));
  EraseResult result;
  ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 2), &result).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), kAnn + kCy);
  EXPECT_FALSE(std::filesystem::exists(lock));
}

// A restore whose flush fails while a lesson appends: the lesson's record
// is never cut off; what the restore wrote is completed by the next start
// and the entry leaves the bin, once.
TEST(EngineAttacksTest, ARestoreWhoseFlushFailsNeverCutsALessonsRecord) {
  TempFolder dir;
  Seed(dir);
  EraseResult erased;
  ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 2), &erased).ok());
  const std::string lesson = Rec("1", "1", "99");
  FaultyFolder faulty(&dir.folder(), -1, FaultyFolder::Mode::kFail);
  bool appended = false;
  faulty.before = [&](int, const std::string& what) {
    if (what == "Sync RECORDS.DAT" && !appended) {
      appended = true;
      faulty.LessonAppends(kRecordsFile, lesson);
    }
  };
  faulty.fail_if = [&](const std::string& what) { return what == "Sync RECORDS.DAT"; };
  Status s = RestoreBinEntry(faulty, erased.id, false, kNow.date, nullptr);
  EXPECT_EQ(s.ToString(),
            "RECORDS.DAT: injected fault; the addition is completed when the program starts "
            "again");
  EXPECT_EQ(dir.Read(kRecordsFile), kAnn + kCy + kBob + lesson);
  PendingReport report;
  ASSERT_TRUE(RecoverFolder(dir.folder(), &report).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), kAnn + kCy + kBob + lesson);
  EXPECT_EQ(InBin(dir.folder()), "");
  ASSERT_EQ(report.size(), 2u);
  EXPECT_EQ(Describe(report[0]),
            "An addition of records to RECORDS.DAT was interrupted; it has now been completed.");
  EXPECT_EQ(report[1].what, Finished::What::kRestoreFinished);
}

// A damaged entry is listed, saying why, refused by a restore before it
// writes anything, and can be deleted; the rest of the program goes on.
TEST(EngineAttacksTest, ADamagedBinEntryStopsNothingElse) {
  struct Case {
    const char* name;
    std::function<void(std::string&)> damage;
    std::string why;
  } cases[] = {
      {"a zero byte in a record", [](std::string& e) { e[e.rfind("C13 2") + 7] = '\0'; },
       "its group for RECORDS.DAT holds a zero byte"},
      {"a wrong record length",
       [](std::string& e) { e.replace(e.find("RECORDS.DAT 25"), 14, "RECORDS.DAT 24"); },
       "its group for RECORDS.DAT has the wrong record length"},
      {"a count beyond its records",
       [](std::string& e) { e.replace(e.find("RECORDS.DAT 25 3"), 16, "RECORDS.DAT 25 4"); },
       "its group for RECORDS.DAT is cut short or too long"},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    Seed(dir);
    EraseResult bad, good;
    ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 2), &bad).ok());
    ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 1), &good).ok());
    const std::string name = "Erased/" + bad.id + ".qbn";
    std::string entry = dir.Read(name);
    c.damage(entry);
    dir.Write(name, entry);

    std::vector<BinEntry> listed;
    ASSERT_TRUE(ListBin(dir.folder(), &listed).ok()) << c.name;
    ASSERT_EQ(listed.size(), 2u) << c.name;
    const BinEntry& shown = listed[0].note.id == bad.id ? listed[0] : listed[1];
    EXPECT_EQ(shown.damage, c.why) << c.name;
    Status s = RestoreBinEntry(dir.folder(), bad.id, false, kNow.date, nullptr);
    EXPECT_EQ(s.code(), StatusCode::kDamaged) << c.name;
    EXPECT_EQ(s.ToString(), name + ": is not a whole entry of the bin (" + c.why +
                                "); it cannot be restored, and can be deleted")
        << c.name;
    EXPECT_FALSE(dir.Exists("Erased/" + bad.id + ".restoring")) << c.name;
    // The rest goes on: the other entry comes back, an erase and a read work.
    ASSERT_TRUE(RestoreBinEntry(dir.folder(), good.id, false, kNow.date, nullptr).ok()) << c.name;
    ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(1, 1), &good).ok()) << c.name;
    EXPECT_EQ(dir.Read(kRecordsFile), kAnn) << c.name;
    ASSERT_TRUE(DeleteBinEntry(dir.folder(), bad.id).ok()) << c.name;
    EXPECT_FALSE(dir.Exists(name)) << c.name;
  }
}

// A restore plan damaged after it was written (by hand, a disk): set aside
// unread-over, said at the next start, and nothing else is stopped.
TEST(EngineAttacksTest, ADamagedRestorePlanIsSetAsideAndTheRestGoesOn) {
  TempFolder dir;
  Seed(dir);
  EraseResult erased;
  ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 2), &erased).ok());
  dir.Write("Erased/" + erased.id + ".restoring", "QUILLON ERASED 1\nID: half");
  dir.Write("Erased/" + erased.id + ".at", "on 12/10/26 " + erased.id + " 0\n");
  PendingReport report;
  ASSERT_TRUE(RecoverFolder(dir.folder(), &report).ok());
  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(report[0].what, Finished::What::kSetAside);
  EXPECT_NE(report[0].detail.find("the plan of a restore cut short is damaged (its heading is "
                                  "not whole); it was set aside as Erased/" +
                                  erased.id + ".restoring.damaged-"),
            std::string::npos)
      << report[0].detail;
  EXPECT_FALSE(dir.Exists("Erased/" + erased.id + ".restoring"));
  // The entry is still there, and comes back whole.
  ASSERT_TRUE(RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, nullptr).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), kAnn + kCy + kBob);
}

// An entry that is a link out of the folder is neither listed nor read; an
// entry copied out and copied back after its restore is refused.
TEST(EngineAttacksTest, BinEntriesThroughLinksAndTwiceAreRefused) {
  TempFolder dir, elsewhere;
  Seed(dir);
  EraseResult erased;
  ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(3, 2), &erased).ok());
  const std::string name = "Erased/" + erased.id + ".qbn";
  const std::string entry = dir.Read(name);

  std::filesystem::rename(dir.path() + "/" + name, elsewhere.path() + "/kept.qbn");
  std::filesystem::create_symlink(elsewhere.path() + "/kept.qbn", dir.path() + "/" + name);
  std::vector<BinEntry> listed;
  ASSERT_TRUE(ListBin(dir.folder(), &listed).ok());
  EXPECT_TRUE(listed.empty());
  Status s = RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, nullptr);
  EXPECT_EQ(s.ToString(), name + ": is a symbolic link; this program's own files are never read "
                                 "through a link (remove the link)");
  EXPECT_EQ(dir.Read(kRecordsFile), kAnn + kCy);

  std::filesystem::remove(dir.path() + "/" + name);
  dir.Write(name, entry);
  ASSERT_TRUE(RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, nullptr).ok());
  dir.Write(name, entry);  // copied back
  s = RestoreBinEntry(dir.folder(), erased.id, false, kNow.date, nullptr);
  EXPECT_EQ(s.code(), StatusCode::kRefused);
  EXPECT_EQ(s.ToString(), name + ": was restored on 12/10/26 already (this is a copy of it); "
                                 "nothing was restored");
  EXPECT_EQ(dir.Read(kRecordsFile), kAnn + kCy + kBob);
}

// However many journals were set aside before, the next one is set aside
// too, under the date and time, and the program goes on.
TEST(EngineAttacksTest, SetAsideJournalsNeverStopTheProgram) {
  TempFolder dir;
  Seed(dir);
  dir.Write("RECORDS.TMP.not-applied", "x");
  for (int n = 2; n <= 999; ++n) dir.Write("RECORDS.TMP.not-applied-" + std::to_string(n), "x");
  // A journal of another state of the file: a removal cut short, then the
  // file replaced by a copy without the zero byte.
  FaultyFolder faulty(&dir.folder(), -1, FaultyFolder::Mode::kCrash);
  faulty.before = [](int, const std::string& what) {
    if (what == "Sync RECORDS.DAT") throw Crash{};
  };
  EXPECT_THROW((void)testing::PurgeRecordsNow(faulty, Who(3, 2)), Crash);
  const std::string journal = dir.Read("RECORDS.TMP");
  dir.Write(kRecordsFile, kCy);
  PendingReport report;
  ASSERT_TRUE(RecoverFolder(dir.folder(), &report).ok());
  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(report[0].what, Finished::What::kSetAside);
  int dated = 0;
  for (const auto& f : std::filesystem::directory_iterator(dir.path())) {
    const std::string n = f.path().filename().string();
    if (n.rfind("RECORDS.TMP.not-applied-2", 0) == 0 && n.size() == 37) {
      ++dated;
      EXPECT_EQ(dir.Read(n), journal);
    }
  }
  EXPECT_EQ(dated, 1);
  EraseResult result;
  ASSERT_TRUE(EraseActivityRecords(dir.folder(), kNow, Who(1, 1), &result).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), "");
}

// A lesson writes a record in two pieces far apart; a removal runs between
// them, and the second piece arrives at any step of it: the first piece
// stays behind the kept records, every record ends on its boundary, and
// the lesson's record is whole, once.
TEST(EngineAttacksTest, ARecordWrittenInTwoPiecesIsNeverMisaligned) {
  const std::string late = Rec("1", "1", "77");
  auto start = [&](TempFolder& dir) {
    Seed(dir);
    dir.Write(kRecordsFile, kAnn + kBob + kCy + late.substr(0, 10));
  };
  int operations = 0;
  {
    TempFolder dir;
    start(dir);
    FaultyFolder counting(&dir.folder(), -1, FaultyFolder::Mode::kFail);
    EraseResult result;
    ASSERT_TRUE(EraseActivityRecords(counting, kNow, Who(3, 2), &result).ok());
    operations = counting.operations();
  }
  for (int k = 1; k <= operations + 1; ++k) {
    TempFolder dir;
    start(dir);
    FaultyFolder hooked(&dir.folder(), -1, FaultyFolder::Mode::kFail);
    bool completed = false;
    hooked.before = [&](int n, const std::string&) {
      if (n != k || completed) return;
      completed = true;
      hooked.LessonAppends(kRecordsFile, late.substr(10));
    };
    EraseResult result;
    ASSERT_TRUE(EraseActivityRecords(hooked, kNow, Who(3, 2), &result).ok()) << k;
    if (!completed) hooked.LessonAppends(kRecordsFile, late.substr(10));
    EXPECT_EQ(dir.Read(kRecordsFile), kAnn + kCy + late) << "the second piece before step " << k;
    EXPECT_EQ(InBin(dir.folder()), kBob) << k;
  }
}

// A removal stopped half way (a computer put to sleep) long enough for
// another computer to judge its lock stale: the other finishes it from its
// journal and makes its own; the first, waking at any step, writes nothing
// more. Every record is in the file or in the bin, once.
TEST(EngineAttacksTest, AHolderTakenOverWhileStoppedWritesNothingMore) {
  int operations = 0;
  for (int k = 1; operations == 0 || k <= operations; ++k) {
    TempFolder dir;
    Seed(dir);
    // The other computer: the same folder under another path.
    PosixFolder other(dir.path() + "/.");
    FaultyFolder sleeper(&dir.folder(), -1, FaultyFolder::Mode::kFail);
    bool taken = false;
    sleeper.before = [&](int n, const std::string& what) {
      // Stopped anywhere but inside a write (between its look and its
      // write a holder cannot be stopped and taken over unseen: the one
      // moment no check can cover, a few system calls long).
      if (n != k || operations == 0) return;
      for (const char* write : {"Write", "Truncate", "Remove", "Replace", "Publish"}) {
        if (what.find(write) != std::string::npos) return;
      }
      taken = true;
      // Judged stale and taken out of the way, as a stale lock is.
      std::filesystem::rename(dir.path() + "/QUILLON.LCK", dir.path() + "/QUILLON.LCK.stale");
      EraseResult theirs;
      ASSERT_TRUE(EraseActivityRecords(other, kNow, Who(1, 1), &theirs).ok()) << k;
      std::filesystem::remove_all(dir.path() + "/QUILLON.LCK.stale");
    };
    EraseResult mine;
    Status s = EraseActivityRecords(sleeper, kNow, Who(3, 2), &mine);
    if (operations == 0) {
      ASSERT_TRUE(s.ok());
      operations = sleeper.operations();
      continue;
    }
    if (!taken) continue;
    ASSERT_TRUE(RecoverFolder(dir.folder()).ok()) << k;
    const std::string file = dir.Read(kRecordsFile), bin = InBin(dir.folder());
    // Ann's records stay; Cy's went to the bin; Bob's are in one place.
    EXPECT_EQ(file.find(kCy), std::string::npos) << k;
    EXPECT_NE(bin.find(kCy), std::string::npos) << k;
    EXPECT_EQ(file.size() + bin.size(), (kAnn + kBob + kCy).size()) << k << ": " << s.ToString();
    EXPECT_EQ(file.find(kAnn), 0u) << k;
    EXPECT_TRUE(file.find(kBob) != std::string::npos || bin.find(kBob) != std::string::npos) << k;
    EXPECT_EQ(file.find('\0'), std::string::npos) << k;
    if (!s.ok()) {
      EXPECT_EQ(s.code(), StatusCode::kTakenOver) << k << ": " << s.ToString();
    }
  }
}

// A class renamed, cut short at every step by a crash and a power cut: the
// next start leaves the old name or the new one, whole, in every record.
TEST(EngineAttacksTest, ARenameCutShortIsAllOrNone) {
  int operations = 0;
  for (int k = 1; operations == 0 || k <= operations; ++k) {
    for (unsigned seed = 0; seed < 4; ++seed) {
      TempFolder dir;
      const std::string before = ClassRec("Algebra", "060", "1") + ClassRec("Geometry", "070", "3") +
                                 ClassRec("Geometry", "070", "3");
      const std::string after = ClassRec("Algebra", "060", "1") +
                                ClassRec("Geometry Honors", "070", "3") +
                                ClassRec("Geometry Honors", "070", "3");
      dir.Write(kClassesFile, before);
      FaultyFolder faulty(&dir.folder(), operations == 0 ? -1 : k, FaultyFolder::Mode::kCrash);
      bool ok = false;
      try {
        ok = FileEditClass(faulty, 3, "Geometry Honors").ok();
      } catch (const Crash&) {
      }
      if (operations == 0) {
        operations = faulty.operations();
        ASSERT_TRUE(ok);
        break;
      }
      faulty.PowerCut(seed);
      ASSERT_TRUE(RecoverFolder(dir.folder()).ok()) << k << "/" << seed;
      const std::string now = dir.Read(kClassesFile);
      EXPECT_TRUE(now == before || now == after) << k << "/" << seed << ": " << now;
    }
  }
}

}  // namespace
}  // namespace quillon

// Record removal against what a lab meets: a crash or power cut at every
// step (of the removal and of its recovery), a journal damaged, deleted or
// left beside a replaced file, a temporary file that is a link, and a second
// remover at the same moment.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "data/ActivityRecord.h"
#include "data/RecordFile.h"
#include "store/Journal.h"
#include "store/Pending.h"
#include "store/Purge.h"
#include "store/Read.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/StoreSteps.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::Crash;
using testing::AppendRecordsNow;
using testing::FaultyFolder;
using testing::PurgeRecordsNow;
using testing::TempFolder;
using testing::Who;

std::string Rec(const char* cls, const char* stu, const char* tag) {
  return ActRec("C1", cls, stu, "010126", "01", "01", tag, "1", "1");
}

const std::string kOld = Rec("1", "1", "1") + Rec("3", "2", "2") + Rec("2", "2", "3") +
                         Rec("3", "2", "4") + Rec("1", "2", "5");
const std::string kKept = Rec("1", "1", "1") + Rec("2", "2", "3") + Rec("1", "2", "5");
const std::string kLesson = Rec("1", "7", "777");

const Students kStudent2Of3 = Who(3, 2);

int OperationsOf(const RemovalOptions& options) {
  TempFolder dir;
  dir.Write(kRecordsFile, kOld);
  FaultyFolder counting(&dir.folder(), -1, FaultyFolder::Mode::kFail);
  (void)PurgeRecordsNow(counting, kStudent2Of3, nullptr, options);
  return counting.operations();
}

// The removals the next start finished (not undid).
std::size_t Finished(const PendingReport& report) {
  return static_cast<std::size_t>(std::count_if(report.begin(), report.end(), [](const auto& f) {
    return f.what == quillon::Finished::What::kRemovalFinished;
  }));
}

// A removal of student 2 of class 3 crashes (or fails) at operation `k`, a
// lesson appending a record just before; the power then goes as `seed`
// says (also when it did not crash). Returns whether it reported success.
bool CutShort(TempFolder& dir, int k, FaultyFolder::Mode mode, unsigned seed,
              const RemovalOptions& options, std::size_t* unsynced = nullptr) {
  dir.Write(kRecordsFile, kOld);
  FaultyFolder faulty(&dir.folder(), k, mode);
  faulty.before = [&](int n, const std::string&) {
    if (n == k) faulty.LessonAppends(kRecordsFile, kLesson);
  };
  bool ok = false;
  try {
    ok = PurgeRecordsNow(faulty, kStudent2Of3, nullptr, options).ok();
  } catch (const Crash&) {
  }
  // The power goes now, even after a removal that finished.
  if (unsynced != nullptr) *unsynced = faulty.Unsynced();
  if (mode == FaultyFolder::Mode::kCrash) faulty.PowerCut(seed);
  return ok;
}

// After any crash, power cut or failure at any step of a removal (finishing
// or undoing it), the next start leaves all the old records or exactly the
// kept ones, and the lesson's record after them; never a zero byte, never a
// record lost or doubled. A removal that said it succeeded did.
TEST(RemovalCrashTest, EveryStepEveryPowerCut) {
  RemovalOptions finishing, undoing;
  undoing.give_up_after = std::chrono::milliseconds(-1);  // undone at the first look
  for (const RemovalOptions& options : {finishing, undoing}) {
    const int operations = OperationsOf(options);
    ASSERT_GT(operations, 10);
    for (int k = 1; k <= operations + 1; ++k) {
      // Six power cuts, then, where a step leaves few changes unflushed,
      // every combination of them kept and lost.
      std::vector<unsigned> seeds = {0, 1, 2, 3, 4, 5};
      for (std::size_t i = 0; i < seeds.size(); ++i) {
        const unsigned seed = seeds[i];
        const auto mode = seed == 5 ? FaultyFolder::Mode::kFail : FaultyFolder::Mode::kCrash;
        TempFolder dir;
        std::size_t unsynced = 0;
        const bool reported_ok = CutShort(dir, k, mode, seed, options, &unsynced);
        for (unsigned m = 0; i == 0 && unsynced <= 6 && m < (1u << unsynced); ++m) {
          seeds.push_back(FaultyFolder::kEveryCombination + m);
        }
        // A reader that looks before anything else (another computer's
        // window, say) sees the records whole: moved records always come
        // with a zero byte, which has it finish the removal first.
        std::string seen;
        ASSERT_TRUE(ReadRecordBytes(dir.folder(), kRecordsFile, &seen).ok()) << k;
        const std::string seen_lesson = seen.size() % 50 == 0 ? kLesson : "";
        EXPECT_TRUE(seen == kOld + seen_lesson || seen == kKept + seen_lesson)
            << "a reader, step " << k << ", power cut " << seed;
        PendingReport finished;
        Status s = RecoverFolder(dir.folder(), &finished);
        ASSERT_TRUE(s.ok()) << "step " << k << ", power cut " << seed << ": " << s.ToString();
        const std::string now = dir.Read(kRecordsFile);
        // A power cut may lose the lesson's unflushed record, nothing else.
        const std::string lesson = now.size() % 50 == 0 ? kLesson : "";
        EXPECT_TRUE(now == kOld + lesson || now == kKept + lesson)
            << "step " << k << ", power cut " << seed << ": " << ::testing::PrintToString(now);
        if (reported_ok) {
          EXPECT_EQ(now, kKept + (k <= operations ? kLesson : "")) << "step " << k;
        }
        if (k > operations) {
          EXPECT_EQ(Finished(finished), 0u) << "a finished removal came back";
        }
        ASSERT_TRUE(PurgeRecordsNow(dir.folder(), kStudent2Of3).ok()) << k;
        EXPECT_EQ(dir.Read(kRecordsFile), kKept + lesson) << k;
        EXPECT_EQ(dir.Read("RECORDS.TMP"), kKept + lesson) << k;
      }
    }
  }
}

// The recovery itself cut short at every step, with a power cut: the one
// after it still ends with all or exactly the kept records.
TEST(RemovalCrashTest, ARecoveryCutShortIsFinishedByTheNext) {
  const int operations = OperationsOf(RemovalOptions());
  for (int k = 2; k <= operations; ++k) {
    for (unsigned seed = 0; seed < 3; ++seed) {
      for (int j = 1; j < 40; ++j) {
        TempFolder dir;
        (void)CutShort(dir, k, FaultyFolder::Mode::kCrash, seed, RemovalOptions());
        FaultyFolder again(&dir.folder(), j, FaultyFolder::Mode::kCrash);
        try {
          (void)RecoverFolder(again);
        } catch (const Crash&) {
          again.PowerCut(seed + 7);
        }
        Status s = RecoverFolder(dir.folder());
        ASSERT_TRUE(s.ok()) << k << "/" << j << ": " << s.ToString();
        const std::string now = dir.Read(kRecordsFile);
        const std::string lesson = now.size() % 50 == 0 ? kLesson : "";
        EXPECT_TRUE(now == kOld + lesson || now == kKept + lesson) << k << "/" << j;
        if (!again.faulted()) break;
      }
    }
  }
}

// Records added to a roster at once (an import): after a crash and power cut
// at any step, the next start leaves all of them or none, and the partial
// record that stood at the end is back when none.
TEST(RemovalCrashTest, AnAdditionOfManyRecordsIsAllOrNone) {
  const std::string before = std::string(31, 'a') + "part";
  const std::string added = std::string(31, 'b') + std::string(31, 'c');
  for (int k = 1; k < 20; ++k) {
    for (unsigned seed = 0; seed < 5; ++seed) {
      TempFolder dir;
      dir.Write("STUDENTS.DAT", before);
      FaultyFolder faulty(&dir.folder(), k, FaultyFolder::Mode::kCrash);
      bool ok = false;
      try {
        ok = AppendRecordsNow(faulty, "STUDENTS.DAT", added).ok();
      } catch (const Crash&) {
      }
      faulty.PowerCut(seed);  // also after an addition that finished
      // The next start, cut short in turn at step j.
      for (int j = 1; j < 12; ++j) {
        FaultyFolder again(&dir.folder(), j, FaultyFolder::Mode::kCrash);
        try {
          (void)RecoverFolder(again);
        } catch (const Crash&) {
        }
        again.PowerCut(seed);
        if (!again.faulted()) break;
      }
      ASSERT_TRUE(RecoverFolder(dir.folder()).ok()) << k;
      const std::string now = dir.Read("STUDENTS.DAT");
      EXPECT_TRUE(now == before || now == std::string(31, 'a') + added) << k << "/" << seed;
      if (ok) {
        EXPECT_EQ(now, std::string(31, 'a') + added) << k;
      }
    }
  }
}

// A removal cut short after its first write to RECORDS.DAT, every byte kept.
void CutShortMidway(TempFolder& dir) {
  dir.Write(kRecordsFile, kOld);
  FaultyFolder faulty(&dir.folder(), -1, FaultyFolder::Mode::kCrash);
  faulty.before = [&](int, const std::string& what) {
    if (what == "Sync RECORDS.DAT") throw Crash{};
  };
  EXPECT_THROW((void)PurgeRecordsNow(faulty, kStudent2Of3), Crash);
  ASSERT_NE(dir.Read(kRecordsFile).find('\0'), std::string::npos);
}

// Each way a journal can be unusable: nothing is changed, nothing read,
// and the message names the file, its journal and what to do.
TEST(RemovalCrashTest, AJournalThatCannotBeUsedChangesNothing) {
  const std::string prefix =
      "RECORDS.DAT: holds zero bytes from byte 75 (in record 4), which no tutoring lesson "
      "writes, and its journal RECORDS.TMP ";
  const std::string suffix =
      ". Nothing was changed. If a removal of records was cut short and its journal lost, "
      "restore RECORDS.DAT from a backup; the records around the zero bytes can still be read, "
      "and the program removes none from the file until then.";
  struct Case {
    const char* name;
    std::function<void(std::string&, std::size_t)> damage;  // of the journal, its entry at `at`
    std::string says;
  } cases[] = {
      {"no journal", [](std::string& j, std::size_t at) { j.resize(at); }, "holds no journal"},
      {"bad magic", [](std::string& j, std::size_t at) { j[at + 1] = 'X'; },
       "is damaged (its first entry is cut short or malformed)"},
      {"bad hash", [](std::string& j, std::size_t at) { j[at + kJournalHeaderSize + 3] ^= 1; },
       "is damaged (its check sum does not match)"},
      {"kept records changed", [](std::string& j, std::size_t) { j[0] ^= 1; },
       "is damaged (its check sum does not match)"},
      {"wrong record length", [](std::string& j, std::size_t at) { j.replace(at + 19, 3, "026"); },
       "is damaged (its record length is wrong)"},
      {"torn payload",
       [](std::string& j, std::size_t at) { j.resize(at + kJournalHeaderSize + 3); },
       "is damaged (its first entry is cut short)"},
      {"torn header", [](std::string& j, std::size_t at) { j.resize(at + 50); },
       "is damaged (its first entry is cut short or malformed)"},
      {"an entry that does not follow", [](std::string& j, std::size_t at) { j[at + 4] = 'A'; },
       "is damaged (it does not begin with a removal's first entry)"},
      {"a journal of another file",
       [](std::string& j, std::size_t at) { j.replace(at + 6, 12, "Diag.dat    "); },
       "is damaged (it belongs to another file)"},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    CutShortMidway(dir);
    const std::string cut_short = dir.Read(kRecordsFile);
    std::string journal = dir.Read("RECORDS.TMP");
    c.damage(journal, journal.find('\0'));
    dir.Write("RECORDS.TMP", journal);
    // The start says what it found and goes on; a removal refuses; a
    // reader reads around the zero byte; nothing is written.
    PendingReport report;
    ASSERT_TRUE(RecoverFolder(dir.folder(), &report).ok()) << c.name;
    ASSERT_EQ(report.size(), 1u) << c.name;
    EXPECT_EQ(Describe(report[0]), prefix + c.says + suffix) << c.name;
    EXPECT_EQ(PurgeRecordsNow(dir.folder(), Who(1, 1)).ToString(), prefix + c.says + suffix)
        << c.name;
    std::size_t count = 0;
    EXPECT_TRUE(CountPurgeable(dir.folder(), false, kStudent2Of3, &count).ok()) << c.name;
    EXPECT_EQ(dir.Read(kRecordsFile), cut_short) << c.name;
    EXPECT_EQ(dir.Read("RECORDS.TMP"), journal) << c.name;
  }
  // Deleted, as a tidy person deletes temporary files.
  TempFolder dir;
  CutShortMidway(dir);
  std::filesystem::remove(dir.path() + "/RECORDS.TMP");
  EXPECT_EQ(PurgeRecordsNow(dir.folder(), Who(1, 1)).ToString(), prefix + "is missing" + suffix);
}

// A removal cut short, then last week's backup put back (with a malformed
// record holding a zero byte): the journal is not applied to it but set
// aside under a name that says so, the user is told, the backup untouched.
// A later entry whose payload is not what its hash says (here: a lesson's
// record in an A entry changed) is not trusted: the removal is finished
// from the entries before it, taking the lesson's record as the file holds
// it.
TEST(RemovalCrashTest, ALaterEntryThatFailsItsCheckSumIsNotTrusted) {
  TempFolder dir;
  dir.Write(kRecordsFile, kOld);
  FaultyFolder faulty(&dir.folder(), -1, FaultyFolder::Mode::kCrash);
  int temp_syncs = 0;
  faulty.before = [&](int, const std::string& what) {
    if (what == "Size RECORDS.DAT" && temp_syncs == 1) faulty.LessonAppends(kRecordsFile, kLesson);
    if (what == "Sync RECORDS.TMP" && ++temp_syncs == 2) throw Crash{};  // the A entry's flush
  };
  EXPECT_THROW((void)PurgeRecordsNow(faulty, kStudent2Of3), Crash);
  std::string journal = dir.Read("RECORDS.TMP");
  const std::size_t a = journal.rfind(std::string("\0QJ3A", 5));
  ASSERT_NE(a, std::string::npos);
  const std::size_t tag = journal.find("777", a + kJournalHeaderSize);
  ASSERT_NE(tag, std::string::npos);
  journal[tag] = '8';
  dir.Write("RECORDS.TMP", journal);
  Status s = RecoverFolder(dir.folder());
  ASSERT_TRUE(s.ok()) << s.ToString();
  EXPECT_EQ(dir.Read(kRecordsFile), kKept + kLesson);
}

TEST(RemovalCrashTest, AJournalIsNeverAppliedToAReplacedFile) {
  TempFolder dir;
  CutShortMidway(dir);
  const std::string journal = dir.Read("RECORDS.TMP");
  std::string backup = Rec("5", "1", "9") + Rec("5", "2", "8") + Rec("6", "1", "7");
  backup[30] = '\0';
  dir.Write(kRecordsFile, backup);
  // Set aside, under a name that says so and when; then the zero byte is
  // damage that nothing explains.
  PendingReport report;
  ASSERT_TRUE(RecoverFolder(dir.folder(), &report).ok());
  ASSERT_EQ(report.size(), 2u);
  const std::string aside = Describe(report[0]);
  EXPECT_EQ(aside.substr(0, 174),
            "RECORDS.TMP: the journal of an interrupted change does not fit RECORDS.DAT as it is "
            "now (the file was replaced or changed since); it was set aside as "
            "RECORDS.TMP.not-applied-");
  EXPECT_EQ(Describe(report[1]).substr(0, 133),
            "RECORDS.DAT: holds zero bytes from byte 30 (in record 2), which no tutoring lesson "
            "writes, and its journal RECORDS.TMP did not fit it");
  EXPECT_EQ(dir.Read(kRecordsFile), backup);
  EXPECT_FALSE(dir.Exists("RECORDS.TMP"));
  std::string kept_aside;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.path().filename().string().rfind("RECORDS.TMP.not-applied-", 0) == 0) {
      kept_aside = dir.Read(entry.path().filename().string());
    }
  }
  EXPECT_EQ(kept_aside, journal);
}

// Readers finish a removal cut short before they read: the counts before an
// erase and the display see exactly the kept records, never a zero byte.
TEST(RemovalCrashTest, ReadersFinishACutShortRemovalFirst) {
  TempFolder dir;
  CutShortMidway(dir);
  std::string bytes;
  ASSERT_TRUE(ReadRecordBytes(dir.folder(), kRecordsFile, &bytes).ok());
  EXPECT_EQ(bytes, kKept);
  std::size_t count = 9;
  ASSERT_TRUE(CountPurgeable(dir.folder(), false, kStudent2Of3, &count).ok());
  EXPECT_EQ(count, 0u);
}

// A removal that finds an earlier one cut short finishes it first, and the
// door says what each took away.
TEST(RemovalCrashTest, AnEarlierRemovalIsFinishedAndCountedApart) {
  TempFolder dir;
  CutShortMidway(dir);
  RewriteResult result;
  PendingReport report;
  ASSERT_TRUE(WithLock(
                  dir.folder(), nullptr,
                  [&](const LockToken& lock) {
                    return PurgeRecords(dir.folder(), lock, Who(1, 1), &result);
                  },
                  &report)
                  .ok());
  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(Describe(report[0]),
            "A removal of records from RECORDS.DAT was interrupted; it has now been finished.");
  EXPECT_EQ(report[0].removed, 2u);
  EXPECT_EQ(result.removed, 1u);
  EXPECT_EQ(dir.Read(kRecordsFile), Rec("2", "2", "3") + Rec("1", "2", "5"));
}

// A temporary file or lock file that is a symbolic link, or a temporary file
// with a second name, is never written through: the removal refuses, naming
// it, and the linked file is untouched.
TEST(RemovalCrashTest, LinksInPlaceOfTheProgramsOwnFilesAreRefused) {
  for (const char* name : {"RECORDS.TMP", "QUILLON.LCK"}) {
    TempFolder dir, elsewhere;
    elsewhere.Write("precious", "keep me");
    dir.Write(kRecordsFile, kOld);
    std::filesystem::create_symlink(elsewhere.path() + "/precious", dir.path() + "/" + name);
    Status s = PurgeRecordsNow(dir.folder(), kStudent2Of3);
    EXPECT_EQ(s.file(), name);
    EXPECT_NE(s.what().find("is a symbolic link"), std::string::npos) << s.ToString();
    EXPECT_EQ(elsewhere.Read("precious"), "keep me");
    EXPECT_EQ(dir.Read(kRecordsFile), kOld);
  }
  TempFolder dir;
  dir.Write(kRecordsFile, kOld);
  dir.Write("precious", "keep me");
  std::filesystem::create_hard_link(dir.path() + "/precious", dir.path() + "/RECORDS.TMP");
  EXPECT_EQ(PurgeRecordsNow(dir.folder(), kStudent2Of3).ToString(),
            "RECORDS.TMP: has another name (a hard link); this program's own files are never "
            "written through a link (remove the link); nothing was removed");
  EXPECT_EQ(dir.Read("precious"), "keep me");
}

// The folder's lock: a second remover waits, then says another removal is
// in progress, having changed nothing; a stale lock is taken over, and
// nothing of it is left behind.
TEST(RemovalCrashTest, OneRemoverAtATime) {
  TempFolder dir;
  dir.Write(kRecordsFile, kOld);
  std::unique_ptr<FolderLock> held;
  ASSERT_TRUE(dir.folder().Lock(kLockFile, std::chrono::milliseconds(0), &held).ok());
  auto purge = [&] {
    return WithLock(
        dir.folder(), nullptr,
        [&](const LockToken& lock) { return PurgeRecords(dir.folder(), lock, kStudent2Of3); },
        nullptr, std::chrono::milliseconds(50));
  };
  Status s = purge();
  EXPECT_EQ(s.code(), StatusCode::kBusy);
  EXPECT_EQ(s.file(), "QUILLON.LCK");
  EXPECT_NE(s.what().find("another removal or change of records is in progress (held by "),
            std::string::npos)
      << s.ToString();
  EXPECT_EQ(dir.Read(kRecordsFile), kOld);
  held.reset();
  EXPECT_FALSE(dir.Exists(kLockFile));

  // A lock whose holder on this computer is gone is stale at once; one of
  // another computer only when older than five minutes by the folder's
  // clock, one whose holder is not named when older than ten seconds. A lock file of the kind earlier
  // versions made (a plain file naming its holder) is judged alike.
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  const std::string here =
      std::string(host) + " " + std::to_string(gone) + " 2026-01-01 00:00:00\n";
  const std::string there = "another-computer 77 2026-01-01 00:00:00\n";
  struct Case {
    const char* what;
    bool folder;
    std::string holder;  // none: no HOLDER in the folder
    bool held_while_young;
  };
  const Case cases[] = {
      {"its holder gone", true, here, false},
      {"another computer's", true, there, true},
      {"its holder not named", true, "", true},
      {"a file, its holder gone", false, here, false},
      {"a file, another computer's", false, there, true},
  };
  const auto lock = std::filesystem::path(dir.path()) / kLockFile;
  for (const Case& c : cases) {
    dir.Write(kRecordsFile, kOld);
    if (c.folder) {
      std::filesystem::create_directory(lock);
      if (!c.holder.empty()) dir.Write(std::string(kLockFile) + "/HOLDER", c.holder);
    } else {
      dir.Write(kLockFile, c.holder);
    }
    if (c.held_while_young) {
      s = purge();
      EXPECT_NE(s.what().find(c.holder.empty()
                                  ? "(it names no holder yet; a lock left so by a program stopped "
                                    "as it took it is taken over when 10 seconds old)"
                                  : "(held by another-computer 77 2026-01-01"),
                std::string::npos)
          << c.what << ": " << s.ToString();
      EXPECT_EQ(dir.Read(kRecordsFile), kOld) << c.what;
      const auto age = [](const std::filesystem::path& p) {
        std::filesystem::last_write_time(
            p, std::filesystem::last_write_time(p) - std::chrono::minutes(6));
      };
      if (c.folder && !c.holder.empty()) age(lock / "HOLDER");
      age(lock);
    }
    EXPECT_TRUE(purge().ok()) << c.what;
    EXPECT_EQ(dir.Read(kRecordsFile), kKept) << c.what;
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"RECORDS.DAT", "RECORDS.TMP"})) << c.what;
  }
}

// Two removers in two processes, started together with random timing:
// both succeed, and together they removed exactly both students' records.
TEST(RemovalCrashTest, TwoRemoversAtOnceInTwoProcesses) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 200; ++round) {
    TempFolder dir;
    std::string all, want;
    for (int n = 0; n < 120; ++n) {
      const char* student = n % 3 == 0 ? "1" : n % 3 == 1 ? "2" : "3";
      const std::string r = Rec("4", student, std::to_string(n).c_str());
      all += r;
      if (n % 3 == 2) want += r;
    }
    dir.Write(kRecordsFile, all);
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
      const unsigned delay = random() % 400;
      children[c] = fork();
      if (children[c] == 0) {
        usleep(delay);
        _exit(PurgeRecordsNow(dir.folder(), Who(4, c + 1)).ok() ? 0 : 1);
      }
    }
    for (pid_t child : children) {
      int status = 0;
      waitpid(child, &status, 0);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
    }
    ASSERT_EQ(dir.Read(kRecordsFile), want) << "round " << round;
  }
}

}  // namespace
}  // namespace quillon

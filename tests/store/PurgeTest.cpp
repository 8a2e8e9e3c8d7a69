#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "data/RecordFile.h"
#include "store/Read.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/StoreSteps.h"
#include "support/core/TempFolder.h"

extern char** environ;

namespace quillon {
namespace {

using testing::ActRec;
using testing::Crash;
using testing::DiagRec;
using testing::AppendRecordsNow;
using testing::FaultyFolder;
using testing::PurgeDiagnosticsNow;
using testing::PurgeRecordsNow;
using testing::TempFolder;
using testing::Who;

std::string Rec(const char* cls, const char* stu, const char* tag = "1") {
  return ActRec("C1", cls, stu, "010126", "01", "01", tag, "1", "1");
}

std::string Join(std::initializer_list<std::string> records) {
  std::string out;
  for (const auto& r : records) out += r;
  return out;
}

TEST(PurgeRecordsTest, SelectionTable) {
  const std::string c1 = Rec("1", "1"), c3a = Rec("3", "2"), c2 = Rec("2", "2"),
                    c3b = Rec(" 3", "5"), c1b = Rec("1", "2"), c3c = Rec("3 ", "2 ");
  const std::string all = Join({c1, c3a, c2, c3b, c1b, c3c});
  struct Case {
    Students who;
    std::string kept;
  } cases[] = {
      {Students::WholeClass(ClassNum(3)), Join({c1, c2, c1b})},  // whatever the field's blanks
      {Who(3, 2), Join({c1, c2, c3b, c1b})},                     // student 2 of class 3 only
      {Students::EveryClass(), ""},                              // everything
      {Who(0, 5), ""},  // class 0: everything, whatever the student
      {Who(3, 9), all},  // nobody matches
  };
  for (const Case& c : cases) {
    TempFolder dir;
    dir.Write(kRecordsFile, all);
    RewriteResult result;
    ASSERT_TRUE(PurgeRecordsNow(dir.folder(), c.who, &result).ok());
    EXPECT_EQ(dir.Read(kRecordsFile), c.kept) << c.who.classnum() << "," << c.who.studentnum();
    EXPECT_EQ(dir.Read("RECORDS.TMP"), c.kept);
    EXPECT_EQ(result.kept * 25, c.kept.size());
    EXPECT_EQ(result.removed, 6 - result.kept);
  }
}

TEST(PurgeRecordsTest, NegativeArgumentsChangeNothing) {
  for (const Students& who : {Who(-1, 0), Who(3, -1), Who(-5, -5), Who(0, -1)}) {
    TempFolder dir;
    const std::string all = Join({Rec("3", "1"), Rec("3", "2")});
    dir.Write(kRecordsFile, all);
    Status s = PurgeRecordsNow(dir.folder(), who);
    EXPECT_EQ(s.code(), StatusCode::kRefused);
    EXPECT_EQ(s.file(), "RECORDS.DAT");
    EXPECT_EQ(dir.Read(kRecordsFile), all);
  }
}

// A partial record at the end may be a lesson's write in progress: it goes
// behind the kept records, never dropped, so that the lesson's next bytes
// complete it in its place.
TEST(PurgeRecordsTest, MissingFileIsCreatedEmptyPartialRecordKeptBehind) {
  TempFolder dir;
  ASSERT_TRUE(PurgeRecordsNow(dir.folder(), Who(1, 1)).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), "");
  EXPECT_EQ(dir.Read("RECORDS.TMP"), "");

  dir.Write(kRecordsFile, Rec("1", "1") + Rec("2", "1") + "C13 1 0101");
  ASSERT_TRUE(PurgeRecordsNow(dir.folder(), Who(1, 1)).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), Rec("2", "1") + "C13 1 0101");
  EXPECT_EQ(dir.Read("RECORDS.TMP"), Rec("2", "1"));
  // The lesson's other bytes land at the end: a whole record, in its place.
  std::string completed = Rec("3", "1");
  dir.Write(kRecordsFile, dir.Read(kRecordsFile) + completed.substr(10));
  RecordSet records;
  ASSERT_TRUE(ReadRecords(dir.folder(), kRecordsFile, 25, &records).ok());
  ASSERT_EQ(records.Count(), 2u);
  EXPECT_EQ(records.At(1), "C13 1 0101" + completed.substr(10));
}

// A zero byte inside a record, which no lesson writes and no journal
// explains, is damage: the records around it are read, the one holding it is
// left out and the reader says where; an erase refuses, naming the file and
// the byte, and claims no removal; nothing is written over it.
TEST(PurgeRecordsTest, AStrayZeroByteIsReadAroundAndNeverWrittenOver) {
  TempFolder dir;
  std::string odd = Rec("4", "1");
  odd[7] = '\0';
  const std::string file = Rec("5", "1") + odd + Rec("5", "2");
  dir.Write(kRecordsFile, file);
  RecordSet records;
  std::string damage;
  ASSERT_TRUE(ReadRecords(dir.folder(), kRecordsFile, 25, &records, &damage).ok());
  ASSERT_EQ(records.Count(), 2u);
  EXPECT_EQ(records.At(1), Rec("5", "2"));
  EXPECT_EQ(damage,
            "RECORDS.DAT holds zero bytes from byte 32 (in record 2), which no tutoring lesson "
            "writes; 1 record holding them was left out.");
  EXPECT_EQ(PurgeRecordsNow(dir.folder(), Who(5, 1)).ToString(),
            "RECORDS.DAT: holds zero bytes from byte 32 (in record 2), which no tutoring lesson "
            "writes, and its journal RECORDS.TMP is missing. Nothing was changed. If a removal of "
            "records was cut short and its journal lost, restore RECORDS.DAT from a backup; the "
            "records around the zero bytes can still be read, and the program removes none from "
            "the file until then.");
  EXPECT_EQ(dir.Read(kRecordsFile), file);
}

// Whole records of zero bytes are a gap a lesson left writing at an out of
// date length (a share): read around, and dropped by the next removal.
TEST(PurgeRecordsTest, AGapOfZeroRecordsIsDroppedByTheNextRemoval) {
  TempFolder dir;
  dir.Write(kRecordsFile, Rec("5", "1") + std::string(50, '\0') + Rec("5", "2") + Rec("6", "1"));
  RecordSet records;
  std::string damage;
  ASSERT_TRUE(ReadRecords(dir.folder(), kRecordsFile, 25, &records, &damage).ok());
  EXPECT_EQ(records.Count(), 3u);
  EXPECT_NE(damage.find("2 records holding them were left out"), std::string::npos) << damage;
  RewriteResult result;
  ASSERT_TRUE(PurgeRecordsNow(dir.folder(), Who(6, 1), &result).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), Rec("5", "1") + Rec("5", "2"));
  EXPECT_EQ(result.removed, 1u);
  EXPECT_EQ(result.gaps, 2u);
}

TEST(PurgeRecordsTest, ATemporaryFileThatCannotBeWrittenFailsNamingItAndChangesNothing) {
  TempFolder dir;
  const std::string all = Join({Rec("3", "1"), Rec("4", "1")});
  dir.Write(kRecordsFile, all);
  std::filesystem::create_directory(dir.path() + "/RECORDS.TMP");  // cannot be opened to write
  Status s = PurgeRecordsNow(dir.folder(), Students::WholeClass(ClassNum(3)));
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.ToString(), "RECORDS.TMP: is not an ordinary file; nothing was removed");
  EXPECT_EQ(dir.Read(kRecordsFile), all);
}

TEST(RecordFileTest, AnEmptyRecordCannotBeAppended) {
  TempFolder dir;
  dir.Write(kClassesFile, std::string(32, 'c'));
  Status s = AppendRecordsNow(dir.folder(), kClassesFile, "");
  EXPECT_EQ(s.ToString(), "CLASSES.DAT: only whole records can be added");
  EXPECT_EQ(dir.Read(kClassesFile), std::string(32, 'c'));
}

TEST(PurgeDiagnosticsTest, SeventyTwoCharacterRecords) {
  TempFolder dir;
  const std::string a = DiagRec("C1", "3", "1", "010126", "A", "A"),
                    b = DiagRec("C2", "3", "2", "010126", "B", "B"),
                    c = DiagRec("C1", "07", "2", "010126", "C", "C");
  dir.Write(kDiagFile, a + b + c + "xx");
  ASSERT_TRUE(PurgeDiagnosticsNow(dir.folder(), Who(3, 2)).ok());
  EXPECT_EQ(dir.Read(kDiagFile), a + c + "xx");
  EXPECT_EQ(dir.Read("Diag.TMP"), a + c);
  std::size_t count = 0;
  ASSERT_TRUE(CountPurgeable(dir.folder(), true, Students::WholeClass(ClassNum(7)), &count).ok());
  EXPECT_EQ(count, 1u);
  // Activity records are not touched by a diagnostics purge.
  EXPECT_FALSE(dir.Exists(kRecordsFile));
}

TEST(PurgeLargeFileTest, AMillionRecordsNothingLostOrDuplicated) {
  TempFolder dir;
  std::string bytes;
  bytes.reserve(1000000 * 25);
  for (int n = 0; n < 1000000; ++n) {
    char tail[10];
    std::snprintf(tail, sizeof tail, "%09d", n);
    bytes += std::string("C1") + (n % 7 == 0 ? "5 " : "6 ") + (n % 3 == 0 ? "1 " : "2 ") +
             "0101260101" + tail;
  }
  dir.Write(kRecordsFile, bytes);
  RewriteResult result;
  ASSERT_TRUE(PurgeRecordsNow(dir.folder(), Who(5, 1), &result).ok());
  std::string now = dir.Read(kRecordsFile);
  std::size_t expected = 0;
  std::string want;
  for (int n = 0; n < 1000000; ++n) {
    if (n % 7 == 0 && n % 3 == 0) continue;
    ++expected;
    want.append(bytes, static_cast<std::size_t>(n) * 25, 25);
  }
  EXPECT_EQ(result.kept, expected);
  EXPECT_EQ(result.removed, 1000000 - expected);
  EXPECT_TRUE(now == want);
}

// A real second process appends records the way a lesson does, about a
// thousand a second, while purges of other students run in a loop: every
// purge succeeds, and every appended record survives once, in order.
TEST(PurgeConcurrencyTest, RecordsAppendedDuringPurgesAreKept) {
  TempFolder dir;
  std::string seed;
  for (int n = 0; n < 2000; ++n) seed += Rec("9", n % 2 ? "2" : "3");
  dir.Write(kRecordsFile, seed);
  const std::string file = dir.path() + "/RECORDS.DAT";
  const int appended = 800;
  std::vector<std::string> argv_s = {
      LESSON_SIMULATOR, file, std::to_string(appended), "9 ", "1 ", "1000"};
  std::vector<char*> argv;
  for (auto& a : argv_s) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  ASSERT_EQ(posix_spawn(&pid, LESSON_SIMULATOR, nullptr, nullptr, argv.data(), environ), 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int purges = 0, status = 0;
  bool finished = false;
  while (std::chrono::steady_clock::now() < deadline) {
    Status s = PurgeRecordsNow(dir.folder(), Who(9, 2 + purges % 2));
    ASSERT_TRUE(s.ok()) << s.ToString();
    ++purges;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      finished = true;
      break;
    }
  }
  if (!finished) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  ASSERT_TRUE(finished) << "the simulator did not finish in time";
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(PurgeRecordsNow(dir.folder(), Who(9, 2)).ok());
  ASSERT_TRUE(PurgeRecordsNow(dir.folder(), Who(9, 3)).ok());
  const std::string now = dir.Read(kRecordsFile);
  ASSERT_EQ(now.size() % 25, 0u);
  std::map<int, int> seen;
  std::vector<int> order;
  for (std::size_t i = 0; i < now.size(); i += 25) {
    ASSERT_EQ(now.substr(i, 6), "C19 1 ") << "record " << i / 25;
    order.push_back(std::stoi(now.substr(i + 16, 9)));
    ++seen[order.back()];
  }
  // Nothing lost, nothing doubled, in the order they were written.
  ASSERT_EQ(seen.size(), static_cast<std::size_t>(appended));
  for (auto [n, times] : seen) EXPECT_EQ(times, 1) << "record " << n;
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
}

}  // namespace
}  // namespace quillon

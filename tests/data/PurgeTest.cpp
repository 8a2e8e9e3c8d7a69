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
#include "data/Purge.h"
#include "data/RecordFile.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/TempFolder.h"

extern char** environ;

namespace quillon {
namespace {

using testing::ActRec;
using testing::Crash;
using testing::DiagRec;
using testing::FaultyFolder;
using testing::TempFolder;

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
    int student, cls;
    std::string kept;
  } cases[] = {
      {0, 3, Join({c1, c2, c1b})},       // the class, whatever its field's blanks
      {2, 3, Join({c1, c2, c3b, c1b})},  // student 2 of class 3 only
      {0, 0, ""},                        // everything
      {5, 0, ""},                        // class 0: everything, whatever the student
      {9, 3, all},                       // nobody matches
  };
  for (const Case& c : cases) {
    TempFolder dir;
    dir.Write(kRecordsFile, all);
    RewriteResult result;
    ASSERT_TRUE(PurgeRecords(dir.folder(), c.student, c.cls, &result).ok());
    EXPECT_EQ(dir.Read(kRecordsFile), c.kept) << c.student << "," << c.cls;
    EXPECT_EQ(dir.Read("RECORDS.TMP"), c.kept);
    EXPECT_EQ(result.kept * 25, c.kept.size());
    EXPECT_EQ(result.removed, 6 - result.kept);
  }
}

TEST(PurgeRecordsTest, NegativeArgumentsChangeNothing) {
  for (auto [student, cls] : {std::pair{0, -1}, {-1, 3}, {-5, -5}}) {
    TempFolder dir;
    const std::string all = Join({Rec("3", "1"), Rec("3", "2")});
    dir.Write(kRecordsFile, all);
    Status s = PurgeRecords(dir.folder(), student, cls);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(s.file(), "RECORDS.DAT");
    EXPECT_EQ(dir.Read(kRecordsFile), all);
  }
  // Class 0 with a negative student is still "everything".
  TempFolder dir;
  dir.Write(kRecordsFile, Rec("3", "1"));
  EXPECT_TRUE(PurgeRecords(dir.folder(), -1, 0).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), "");
}

TEST(PurgeRecordsTest, MissingFileIsCreatedEmptyPartialRecordDropped) {
  TempFolder dir;
  ASSERT_TRUE(PurgeRecords(dir.folder(), 1, 1).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), "");
  EXPECT_EQ(dir.Read("RECORDS.TMP"), "");

  dir.Write(kRecordsFile, Rec("2", "1") + "x");  // 26 bytes: a fragment nobody completes
  RewriteOptions quick;
  quick.partial_wait = std::chrono::milliseconds(0);
  ASSERT_TRUE(PurgeRecords(dir.folder(), 1, 1, nullptr, quick).ok());
  EXPECT_EQ(dir.Read(kRecordsFile), Rec("2", "1"));
}

// Zero bytes that no journal explains are never taken for records: readers
// and removals refuse, naming the file and its journal, and change nothing.
TEST(PurgeRecordsTest, ZeroBytesWithoutAJournalAreRefusedNotRead) {
  TempFolder dir;
  std::string odd = Rec("4", "1");
  odd[0] = '\0';
  dir.Write(kRecordsFile, odd + Rec("5", "1"));
  const std::string message =
      "RECORDS.DAT: holds zero bytes: a removal of records from it was cut short, and its "
      "journal RECORDS.TMP is missing. Nothing was changed. Restore RECORDS.DAT from a backup "
      "(the program will not read or change it until then).";
  EXPECT_EQ(PurgeRecords(dir.folder(), 0, 5).ToString(), message);
  RecordSet records;
  EXPECT_EQ(ReadRecords(dir.folder(), kRecordsFile, 25, &records).ToString(), message);
  EXPECT_EQ(records.Count(), 0u);
  EXPECT_EQ(dir.Read(kRecordsFile), odd + Rec("5", "1"));
}

TEST(PurgeRecordsTest, ATemporaryFileThatCannotBeWrittenFailsNamingItAndChangesNothing) {
  TempFolder dir;
  const std::string all = Join({Rec("3", "1"), Rec("4", "1")});
  dir.Write(kRecordsFile, all);
  std::filesystem::create_directory(dir.path() + "/RECORDS.TMP");  // cannot be opened to write
  Status s = PurgeRecords(dir.folder(), 0, 3);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.ToString(), "RECORDS.TMP: is not an ordinary file; nothing was removed");
  EXPECT_EQ(dir.Read(kRecordsFile), all);
}

TEST(RecordFileTest, AnEmptyRecordCannotBeAppended) {
  TempFolder dir;
  dir.Write(kClassesFile, std::string(32, 'c'));
  Status s = AppendRecord(dir.folder(), kClassesFile, "");
  EXPECT_EQ(s.ToString(), "CLASSES.DAT: an empty record cannot be added");
  EXPECT_EQ(dir.Read(kClassesFile), std::string(32, 'c'));
}

TEST(PurgeDiagnosticsTest, SeventyTwoCharacterRecords) {
  TempFolder dir;
  const std::string a = DiagRec("C1", "3", "1", "010126", "A", "A"),
                    b = DiagRec("C2", "3", "2", "010126", "B", "B"),
                    c = DiagRec("C1", "07", "2", "010126", "C", "C");
  dir.Write(kDiagFile, a + b + c + "xx");
  ASSERT_TRUE(PurgeDiagnostics(dir.folder(), 2, 3).ok());
  EXPECT_EQ(dir.Read(kDiagFile), a + c);
  EXPECT_EQ(dir.Read("Diag.TMP"), a + c);
  std::size_t count = 0;
  ASSERT_TRUE(CountPurgeable(dir.folder(), true, 0, 7, &count).ok());
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
  ASSERT_TRUE(PurgeRecords(dir.folder(), 1, 5, &result).ok());
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
    Status s = PurgeRecords(dir.folder(), 2 + purges % 2, 9);
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
  ASSERT_TRUE(PurgeRecords(dir.folder(), 2, 9).ok());
  ASSERT_TRUE(PurgeRecords(dir.folder(), 3, 9).ok());
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

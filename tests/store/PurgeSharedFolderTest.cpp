// Record removal in a program folder shared with the tutoring lessons: the
// file stays the same file, a lesson holding it open never loses a record,
// and a folder that keeps growing is given up on by time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "data/ActivityRecord.h"
#include "platform/PosixFolder.h"
#include "store/Pending.h"
#include "store/Purge.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/StoreSteps.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::FaultyFolder;
using testing::PurgeRecordsNow;
using testing::TempFolder;
using testing::Who;

std::string Rec(const char* cls, const char* stu, int tag) {
  return ActRec("C1", cls, stu, "010126", "01", "01", std::to_string(tag), "1", "1");
}

// Records of classes 1 and 2, students 1 and 2; a purge of student 2 of
// class 2 removes every fourth.
std::string Mixed(int count) {
  std::string bytes;
  for (int n = 0; n < count; ++n) {
    bytes += Rec(n % 2 ? "1" : "2", n % 4 < 2 ? "1" : "2", n % 1000);
  }
  return bytes;
}

std::string Kept(const std::string& bytes) {
  std::string kept;
  for (std::size_t at = 0; at < bytes.size(); at += 25) {
    if (bytes.substr(at + 2, 4) != "2 2 ") kept.append(bytes, at, 25);
  }
  return kept;
}

// A tutoring lesson in a process of its own that opened RECORDS.DAT for
// appending and keeps it open; it appends one record whenever told to.
class LateLesson {
 public:
  explicit LateLesson(const std::string& path) {
    if (::pipe(to_) != 0 || ::pipe(from_) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(to_[1]);
      ::close(from_[0]);
      int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
      char tag;
      while (fd >= 0 && ::read(to_[0], &tag, 1) == 1) {
        const std::string record = Rec("1", "9", 900 + tag);
        if (::write(fd, record.data(), 25) != 25) break;
        if (::write(from_[1], "k", 1) != 1) break;
      }
      ::_exit(0);
    }
    ::close(to_[0]);
    ::close(from_[1]);
  }
  ~LateLesson() {
    ::close(to_[1]);
    ::close(from_[0]);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  // Has the lesson append a record with tag `tag` (0-99) and waits until it has.
  void Write(char tag) {
    char ack;
    if (::write(to_[1], &tag, 1) != 1 || ::read(from_[0], &ack, 1) != 1) {
      throw std::runtime_error("the lesson process is gone");
    }
  }

 private:
  int to_[2], from_[2];
  pid_t pid_ = -1;
};

// The lesson opened the file before the removal and writes at one moment of
// it, at every moment in turn, and once more afterwards: both records are
// in the file, once each, after the kept ones, in the order written.
TEST(PurgeSharedFolderTest, ALessonHoldingTheFileOpenNeverLosesARecord) {
  const std::string old_records = Mixed(40);
  int operations = 0;
  {
    TempFolder dir;
    dir.Write(kRecordsFile, old_records);
    FaultyFolder counting(&dir.folder(), -1, FaultyFolder::Mode::kFail);
    ASSERT_TRUE(PurgeRecordsNow(counting, Who(2, 2)).ok());
    operations = counting.operations();
  }
  for (int k = 1; k <= operations; ++k) {
    TempFolder dir;
    dir.Write(kRecordsFile, old_records);
    LateLesson lesson(dir.path() + "/RECORDS.DAT");
    FaultyFolder hooked(&dir.folder(), -1, FaultyFolder::Mode::kFail);
    hooked.before = [&](int n, const std::string&) {
      if (n == k) lesson.Write(1);
    };
    Status s = PurgeRecordsNow(hooked, Who(2, 2));
    ASSERT_TRUE(s.ok()) << k << ": " << s.ToString();
    lesson.Write(2);
    EXPECT_EQ(dir.Read(kRecordsFile), Kept(old_records) + Rec("1", "9", 901) + Rec("1", "9", 902))
        << "the lesson wrote before operation " << k;
  }
}

TEST(PurgeSharedFolderTest, TheFileKeepsItsOwnerModeAndLinks) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file to another account";
  TempFolder dir;
  const std::string data = dir.path() + "/shared";
  std::filesystem::create_directory(data);
  const std::string target = data + "/records.dat";
  {
    TempFolder writer;
    writer.Write("x", Mixed(20));
    std::filesystem::copy_file(writer.path() + "/x", target);
  }
  ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
  std::filesystem::create_symlink(target, dir.path() + "/RECORDS.DAT");
  std::filesystem::create_hard_link(target, data + "/second-name");
  struct stat before;
  ASSERT_EQ(::stat(target.c_str(), &before), 0);

  ASSERT_TRUE(PurgeRecordsNow(dir.folder(), Who(2, 2)).ok());

  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() + "/RECORDS.DAT"));
  struct stat after;
  ASSERT_EQ(::stat(target.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_uid, 4321u);
  EXPECT_EQ(after.st_gid, 4322u);
  EXPECT_EQ(after.st_mode & 07777, 0666u);
  EXPECT_EQ(after.st_nlink, 2u);
  EXPECT_EQ(dir.Read(kRecordsFile), Kept(Mixed(20)));
  EXPECT_EQ(dir.Read("shared/second-name"), Kept(Mixed(20)));
}

// A FAT file system has no hard links and no owners; the removal needs
// neither. Needs mkfs.vfat and the right to mount a loop device.
TEST(PurgeSharedFolderTest, WorksOnAFatFileSystem) {
  TempFolder dir;
  const std::string image = dir.path() + "/fat.img", mount_point = dir.path() + "/fat";
  std::filesystem::create_directory(mount_point);
  const std::string make =
      "truncate -s 8M " + image + " && mkfs.vfat " + image + " >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0) GTEST_SKIP() << "mkfs.vfat is not installed";
  const std::string mount = "mount -o loop " + image + " " + mount_point + " 2>/dev/null";
  if (std::system(mount.c_str()) != 0) GTEST_SKIP() << "this machine cannot mount a loop device";
  {
    PosixFolder fat(mount_point);
    ASSERT_TRUE(fat.WriteFile(kRecordsFile, Mixed(40)).ok());
    ASSERT_TRUE(PurgeRecordsNow(fat, Who(2, 2)).ok());
    std::string now;
    ASSERT_TRUE(fat.ReadFile(kRecordsFile, &now).ok());
    EXPECT_EQ(now, Kept(Mixed(40)));
  }
  EXPECT_EQ(std::system(("umount " + mount_point).c_str()), 0);
}

// A file that grows at every look is given up on, by time: the removal is
// undone, every record back in its place, and what was appended stays.
TEST(PurgeSharedFolderTest, AFileThatNeverStopsGrowingIsGivenUpOnByTime) {
  TempFolder dir;
  dir.Write(kRecordsFile, Mixed(8));
  FaultyFolder hooked(&dir.folder(), -1, FaultyFolder::Mode::kFail);
  int appended = 0;
  hooked.before = [&](int, const std::string& what) {
    if (what == "Size RECORDS.DAT") {
      dir.Write(kRecordsFile, dir.Read(kRecordsFile) + Rec("1", "9", ++appended));
    }
  };
  RemovalOptions options;
  options.give_up_after = std::chrono::milliseconds(200);
  Status s = PurgeRecordsNow(hooked, Who(2, 2), nullptr, options);
  EXPECT_EQ(s.ToString(),
            "RECORDS.DAT: kept growing at every look for 0.2 seconds while records were to be "
            "removed (a lesson appends to it without pause); the removal was undone and nothing "
            "was removed");
  EXPECT_EQ(s.code(), StatusCode::kBusy);
  std::string want = Mixed(8);
  for (int n = 1; n <= appended; ++n) want += Rec("1", "9", n);
  EXPECT_EQ(dir.Read(kRecordsFile), want);
  EXPECT_GT(appended, 1);
}

// A lesson that keeps RECORDS.DAT open and appends without pause: each
// removal ends by its time limit, finished or undone, and leaves no zero
// byte, no record doubled or out of order, the others whole. (Without a
// lease a record appended between the last look and the cut can still be
// lost; tools/no-lease-figure.sh measures how often.)
TEST(PurgeSharedFolderTest, ALessonAppendingWithoutPauseNeverLosesARecord) {
  TempFolder dir;
  dir.Write(kRecordsFile, Mixed(400));
  const std::string file = dir.path() + "/RECORDS.DAT";
  const pid_t lesson = ::fork();
  if (lesson == 0) {
    ::execl(LESSON_SIMULATOR, LESSON_SIMULATOR, file.c_str(), "6000", "1 ", "9 ", "50", "open",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  RemovalOptions options;
  options.give_up_after = std::chrono::milliseconds(100);
  int finished = 0, undone = 0;
  for (int round = 0; round < 6; ++round) {
    Status s = PurgeRecordsNow(dir.folder(), Who(2, 2), nullptr, options);
    if (s.ok()) {
      ++finished;
    } else {
      ASSERT_NE(s.what().find("nothing was removed"), std::string::npos) << s.ToString();
      ++undone;
    }
  }
  int status = 0;
  ::waitpid(lesson, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const std::string now = dir.Read(kRecordsFile);
  ASSERT_EQ(now.size() % 25, 0u);
  ASSERT_EQ(now.find('\0'), std::string::npos);
  std::string mine, others;
  for (std::size_t at = 0; at < now.size(); at += 25) {
    (now.compare(at + 2, 4, "1 9 ") == 0 ? mine : others).append(now, at, 25);
  }
  int previous = 0;
  for (std::size_t at = 0; at < mine.size(); at += 25) {
    ASSERT_EQ(mine.substr(at, 16), "C11 9 0101260101");
    const int n = std::stoi(mine.substr(at + 16, 9));
    ASSERT_GT(n, previous) << "doubled or out of order";
    previous = n;
  }
  EXPECT_EQ(previous, 6000);
  EXPECT_TRUE(others == Mixed(400) || others == Kept(Mixed(400)));
  EXPECT_EQ(finished + undone, 6);
}

}  // namespace
}  // namespace quillon

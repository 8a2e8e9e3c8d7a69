// quillon-cli on a program folder shared over SMB, as a lab shares it: a
// Samba server and smbnetfs clients on this computer. Skipped, with the
// reason, where smbd, smbnetfs or FUSE cannot be used.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/PosixFolder.h"
#include "smb/SmbShare.h"
#include "support/core/Builders.h"
#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"
#include "support/core/WatchedFolder.h"

namespace quillon {
namespace {

using testing::SmbShare;

struct Result {
  int status;
  std::string out, err;
  bool operator==(const Result&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Result& r) {
  return os << "status " << r.status << "\n--- out:\n" << r.out << "--- err:\n" << r.err;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// Every regular file of `dir` by name, with its bytes.
std::map<std::string, std::string> Files(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.is_regular_file()) {
      files[entry.path().filename().string()] = Slurp(entry.path().string());
    }
  }
  return files;
}

class SmbShareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    const auto start = std::chrono::steady_clock::now();
    if (!share.Start(&why)) GTEST_SKIP() << "no SMB share on this machine: " << why;
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("smbd and two smbnetfs mounts up in %lld ms\n",
                static_cast<long long>(took.count()));
  }

  // quillon-cli `args` on `folder`; its output with `folder` named `as`.
  // `tag` names its output files, for commands run at the same time.
  Result Run(const std::string& folder, const std::string& args, const std::string& as = "",
             const std::string& tag = "") {
    const std::string out = scratch.path() + "/out" + tag, err = scratch.path() + "/err" + tag;
    const std::string command = "timeout 60 " + std::string(QUILLON_CLI) + " --folder '" + folder +
                                "' " + args + " >" + out + " 2>" + err;
    const int raw = std::system(command.c_str());
    Result r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
    if (!as.empty()) {
      r.out = Replaced(r.out, folder, as);
      r.err = Replaced(r.err, folder, as);
    }
    return r;
  }

  // The generated sample folder, in the local folder and on the share.
  void MakeSampleFolders() {
    const std::string make =
        std::string(MAKE_SAMPLE_FOLDER) + " --seed 1 " + share.local() + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0);
    for (const auto& [name, bytes] : Files(share.local())) {
      std::ofstream(share.served() + "/" + name, std::ios::binary) << bytes;
    }
  }

  void ErasesBesideALesson(int* lost);

  testing::TempFolder scratch;
  SmbShare share;
};

// Each command in turn on the local folder and through the share: the same
// status, output and messages, and in the end the same files, byte for
// byte; no lock left behind on either.
TEST_F(SmbShareTest, EveryCommandGivesTheSameOutputAndFilesAsOnALocalFolder) {
  MakeSampleFolders();
  const std::string roster = scratch.path() + "/class-2b.csv";
  std::ofstream(roster) << "Name,Password\nZara Quill,ZQ7\nIvan Okafor,io42\n,NONAME\n";
  const std::string commands[] = {
      "classes",
      "roster --class 2",
      "records --class 2",
      "records --class 2 --group tests --sort percent --direction decreasing",
      "records --class 2 --student 3 --paper",
      "records --class 1 --group recent --sort lesson",
      "diagnostics --class 2 --entry 1",
      "diagnostics --class 2 --paper",
      "summary --class 2 --from 09/01/26 --to 12/31/26",
      "summary --class 2 --csv",
      "slips --class 2",
      "export --since 10/01/26 --order 4",
      "export --order 1",
      "import --class 2 " + roster,
      "import --class 2 --yes " + roster,
      "erase --class 2 --student 3",
      "erase --class 2 --student 3 --yes",
      "erase --class 2 --diagnostics --yes",
      "erase --class 1 --yes",
      "erase --class 5 --student 9 --yes",
      "erase --yes --class 2 --student 3",
      "records --class 2",
      "roster --class 2",
      "records --class 7",
  };
  const std::string shared = share.Through(0);
  std::map<std::string, Result> local;
  for (const std::string& command : commands) {
    local[command] = Run(share.local(), command);
    EXPECT_EQ(Run(shared, command, share.local()), local[command]) << command;
  }
  // What the local folder gave, known independently of the share.
  EXPECT_EQ(local["classes"].out,
            "2\t70\tAlgebra 1, Period 4\n3\t65\tBusiness Math\n5\t50\tFoundations Lab\n"
            "1\t60\tPre-Algebra, Period 2\n4\t75\tSAT Preparation\n");
  EXPECT_EQ(local["import --class 2 " + roster].out,
            "2\tZara Quill\tZQ7\t10\tadd\t\n3\tIvan Okafor\tIO42\t11\tadd\t\n4\t\t\t\tno name\t\n");
  EXPECT_EQ(local["records --class 7"],
            (Result{2, "", "quillon-cli: there is no class 7 in CLASSES.DAT\n"}));
  EXPECT_EQ(local["erase --class 2 --student 3"],
            (Result{1, "Would erase 85 records; nothing was erased (add --yes).\n", ""}));
  EXPECT_EQ(local["erase --class 2 --student 3 --yes"], (Result{0, "Erased 85 records.\n", ""}));
  EXPECT_EQ(local["erase --class 2 --diagnostics --yes"], (Result{0, "Erased 6 records.\n", ""}));
  EXPECT_EQ(local["erase --class 1 --yes"], (Result{0, "Erased 603 records.\n", ""}));

  const auto here = Files(share.local()), there = Files(share.served());
  std::vector<std::string> names, shared_names;
  for (const auto& [name, bytes] : here) names.push_back(name);
  for (const auto& [name, bytes] : there) shared_names.push_back(name);
  EXPECT_EQ(shared_names, names);
  for (const auto& [name, bytes] : here) {
    EXPECT_TRUE(there.count(name) && there.at(name) == bytes) << name << " differs";
  }
  EXPECT_FALSE(std::filesystem::exists(share.local() + "/QUILLON.LCK"));
  EXPECT_FALSE(std::filesystem::exists(share.served() + "/QUILLON.LCK"));
}

// The record a lesson appends as its n-th: class 1, student 9 (nobody of
// the sample folder), n in its last nine characters.
std::string LessonRecord(int n) {
  char tail[16];
  std::snprintf(tail, sizeof tail, "%09d", n);
  return std::string("C11 9 0101260101") + tail;
}

// A tutoring lesson in a process of its own: opens `file` for each record,
// appends it in one write, closes it, and pauses a millisecond; `count`
// records. smbnetfs opens nothing write-only, so the lesson opens the file
// for reading and writing with O_APPEND. Exits 0 when every record went in.
pid_t StartLesson(const std::string& file, int count) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    for (int n = 1; n <= count; ++n) {
      const int fd = ::open(file.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
      if (fd < 0) ::_exit(1);
      const std::string record = LessonRecord(n);
      if (::write(fd, record.data(), 25) != 25) ::_exit(2);
      ::close(fd);
      ::usleep(1000);
    }
    ::_exit(0);
  }
  return pid;
}

int Field(const std::string& bytes, std::size_t at) {
  return std::atoi(bytes.substr(at, 2).c_str());
}

// Erases of every student of classes 2 to 5, one after another through the
// mount a lesson appends through: every erase reports what it took, the
// erased students' records are gone and every other record is there once,
// in its place, no zero byte, and the lesson's records are there at most
// once each, in the order written; `lost` counts those missing.
void SmbShareTest::ErasesBesideALesson(int* lost) {
  MakeSampleFolders();
  const std::string original = Slurp(share.served() + "/RECORDS.DAT");
  ASSERT_EQ(original.size() % 25, 0u);
  std::map<std::pair<int, int>, int> counts;  // (class, student): records
  for (std::size_t at = 0; at < original.size(); at += 25) {
    ++counts[{Field(original, at + 2), Field(original, at + 4)}];
  }
  const std::string shared = share.Through(0);
  constexpr int kAppended = 1500;
  const pid_t lesson = StartLesson(shared + "/RECORDS.DAT", kAppended);
  int erases = 0;
  for (const auto& [who, count] : counts) {
    if (who.first < 2) continue;
    const std::string args = "erase --class " + std::to_string(who.first) + " --student " +
                             std::to_string(who.second) + " --yes";
    EXPECT_EQ(Run(shared, args), (Result{0, "Erased " + std::to_string(count) + " records.\n", ""}))
        << args;
    ++erases;
  }
  int status = 0;
  ASSERT_EQ(::waitpid(lesson, &status, 0), lesson);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the lesson failed to append";
  EXPECT_GT(erases, 25);

  const std::string now = Slurp(share.served() + "/RECORDS.DAT");
  ASSERT_EQ(now.size() % 25, 0u);
  EXPECT_EQ(now.find('\0'), std::string::npos);
  std::string others, kept;
  int previous = 0, found = 0;
  for (std::size_t at = 0; at < now.size(); at += 25) {
    if (now.compare(at, 6, "C11 9 ") != 0) {
      others.append(now, at, 25);
      continue;
    }
    const int n = std::atoi(now.substr(at + 16, 9).c_str());
    EXPECT_EQ(now.substr(at, 25), LessonRecord(n)) << "torn at byte " << at;
    EXPECT_GT(n, previous) << "doubled or out of order at byte " << at;
    previous = n;
    ++found;
  }
  for (std::size_t at = 0; at < original.size(); at += 25) {
    if (Field(original, at + 2) < 2) kept.append(original, at, 25);
  }
  EXPECT_TRUE(others == kept) << others.size() / 25 << " other records, " << kept.size() / 25
                              << " kept";
  EXPECT_FALSE(std::filesystem::exists(share.served() + "/QUILLON.LCK"));
  *lost = kAppended - found;
  std::printf("%d erases beside the lesson; %d of its %d records lost\n", erases, *lost, kAppended);
}

TEST_F(SmbShareTest, ErasesBesideALessonAppendingThroughTheSameMountDoubleNothing) {
  int lost = 0;
  ErasesBesideALesson(&lost);
}

// The same, every lesson record kept. Disabled: through smbnetfs a lesson's
// open, write and close take milliseconds, so the removal's write lease is
// mostly refused and a record appended between its last look at the length
// and the cut is lost: 3 records in about 900 erases were.
TEST_F(SmbShareTest, DISABLED_ErasesBesideALessonAppendingThroughTheSameMountLoseNothing) {
  int lost = -1;
  ErasesBesideALesson(&lost);
  EXPECT_EQ(lost, 0);
}

// What is left of `bytes` without the records of the (class, student)s.
std::string Without(const std::string& bytes, const std::set<std::pair<int, int>>& gone) {
  std::string kept;
  for (std::size_t at = 0; at < bytes.size(); at += 25) {
    if (!gone.count({Field(bytes, at + 2), Field(bytes, at + 4)})) kept.append(bytes, at, 25);
  }
  return kept;
}

// Two computers on one share. The lock folder made through one client
// exists for the other, which cannot make it again (smbnetfs shares no fcntl
// lock or lease between clients, and its exclusive create of a file is not
// exclusive; a folder's is): an erase there waits, changing nothing, and
// goes on once the lock is gone; then one erase on each client in turn.
TEST_F(SmbShareTest, ASecondClientSeesTheLockAndWaits) {
  MakeSampleFolders();
  const std::string original = Slurp(share.served() + "/RECORDS.DAT");
  const std::string first = share.Through(0) + "/QUILLON.LCK";
  ASSERT_EQ(::mkdir(first.c_str(), 0755), 0) << std::strerror(errno);
  EXPECT_EQ(::mkdir((share.Through(1) + "/QUILLON.LCK").c_str(), 0755), -1);
  EXPECT_EQ(errno, EEXIST);
  // Named as a live remover of this computer names itself.
  const int held = ::open((first + "/HOLDER").c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  ASSERT_GE(held, 0) << std::strerror(errno);
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  char when[32] = {};
  const std::time_t now = std::time(nullptr);
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
  const std::string holder =
      std::string(host) + " " + std::to_string(::getpid()) + " " + when + "\n";
  ASSERT_EQ(::write(held, holder.data(), holder.size()), static_cast<ssize_t>(holder.size()));

  Result waited;
  std::thread waiting(
      [&] { waited = Run(share.Through(1), "erase --class 2 --student 3 --yes", "", "1"); });
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(Slurp(share.served() + "/RECORDS.DAT") == original) << "changed under the lock";
  ::close(held);
  // The waiting remover may have it open for a moment to read its holder.
  for (int attempt = 0;
       attempt < 200 && ::unlink((first + "/HOLDER").c_str()) != 0 && errno == EBUSY; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(::rmdir(first.c_str()), 0) << std::strerror(errno);
  waiting.join();
  EXPECT_EQ(waited, (Result{0, "Erased 85 records.\n", ""}));

  EXPECT_EQ(Run(share.Through(0), "erase --class 3 --student 4 --yes"),
            (Result{0, "Erased 81 records.\n", ""}));
  EXPECT_EQ(Run(share.Through(1), "erase --class 4 --student 1 --yes"),
            (Result{0, "Erased 82 records.\n", ""}));
  EXPECT_TRUE(Slurp(share.served() + "/RECORDS.DAT") ==
              Without(original, {{2, 3}, {3, 4}, {4, 1}}));
  EXPECT_FALSE(std::filesystem::exists(share.served() + "/QUILLON.LCK"));
}

// Two erases started together, one on each client, in rounds: each waits
// for the other, and together they removed exactly both students' records.
// (With a lock file created O_CREAT|O_EXCL both took the lock in nearly
// every round, smbnetfs creating it without O_EXCL, and one erase's records
// came back.)
TEST_F(SmbShareTest, RemoversStartedTogetherOnTwoClientsLoseNothing) {
  MakeSampleFolders();
  const std::string original = Slurp(share.served() + "/RECORDS.DAT");
  for (int round = 0; round < 10; ++round) {
    std::ofstream(share.served() + "/RECORDS.DAT", std::ios::binary | std::ios::trunc) << original;
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // past the clients' caches
    Result one, two;
    std::thread a(
        [&] { one = Run(share.Through(0), "erase --class 3 --student 4 --yes", "", "a"); });
    std::thread b(
        [&] { two = Run(share.Through(1), "erase --class 4 --student 1 --yes", "", "b"); });
    a.join();
    b.join();
    ASSERT_EQ(one, (Result{0, "Erased 81 records.\n", ""})) << "round " << round;
    ASSERT_EQ(two, (Result{0, "Erased 82 records.\n", ""})) << "round " << round;
    ASSERT_TRUE(Slurp(share.served() + "/RECORDS.DAT") == Without(original, {{3, 4}, {4, 1}}))
        << "round " << round;
  }
}

// A lesson on the other computer, appending as it can through smbnetfs: it
// looks at the length and writes at that offset (smbnetfs has no O_APPEND).
// That length can be out of date after a removal cut the file, and the
// lesson then writes past the end, leaving a gap of zero bytes.
pid_t StartLessonBySize(const std::string& file, int count) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    for (int n = 1; n <= count; ++n) {
      const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
      struct stat st;
      if (fd < 0 || ::fstat(fd, &st) != 0) ::_exit(1);
      const std::string record = LessonRecord(n);
      if (::pwrite(fd, record.data(), 25, st.st_size) != 25) ::_exit(2);
      ::close(fd);
      ::usleep(1000);
    }
    ::_exit(0);
  }
  return pid;
}

// Erases on one client while a lesson appends through the other: every
// erase ends, every read reads, and no kept record is lost, doubled or
// moved off its place; a gap of zero bytes the lesson leaves is read
// around, said, and dropped by the next erase.
TEST_F(SmbShareTest, ErasesBesideALessonOnTheOtherClientLeaveEveryRecordReadable) {
  MakeSampleFolders();
  const std::string original = Slurp(share.served() + "/RECORDS.DAT");
  std::map<std::pair<int, int>, int> counts;
  for (std::size_t at = 0; at < original.size(); at += 25) {
    ++counts[{Field(original, at + 2), Field(original, at + 4)}];
  }
  constexpr int kAppended = 1500;
  const pid_t lesson = StartLessonBySize(share.Through(1) + "/RECORDS.DAT", kAppended);
  int erases = 0;
  for (const auto& [who, count] : counts) {
    if (who.first < 2) continue;
    const std::string args = "erase --class " + std::to_string(who.first) + " --student " +
                             std::to_string(who.second) + " --yes";
    const Result r = Run(share.Through(0), args);
    EXPECT_EQ(r.status, 0) << args << ": " << r.err;
    EXPECT_EQ(Run(share.Through(0), "records --class 1").status, 0) << "a read after " << args;
    ++erases;
  }
  int status = 0;
  ASSERT_EQ(::waitpid(lesson, &status, 0), lesson);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // One more erase drops the gaps.
  EXPECT_EQ(Run(share.Through(0), "erase --class 5 --student 98 --yes").status, 0);
  const std::string now = Slurp(share.served() + "/RECORDS.DAT");
  ASSERT_EQ(now.size() % 25, 0u);
  EXPECT_EQ(now.find('\0'), std::string::npos);
  std::string others, kept;
  std::set<int> seen;
  for (std::size_t at = 0; at < now.size(); at += 25) {
    if (now.compare(at, 6, "C11 9 ") != 0) {
      others.append(now, at, 25);
      continue;
    }
    const int n = std::atoi(now.substr(at + 16, 9).c_str());
    EXPECT_EQ(now.substr(at, 25), LessonRecord(n)) << "torn at byte " << at;
    EXPECT_TRUE(seen.insert(n).second) << "lesson record " << n << " doubled";
  }
  for (std::size_t at = 0; at < original.size(); at += 25) {
    if (Field(original, at + 2) < 2) kept.append(original, at, 25);
  }
  EXPECT_TRUE(others == kept) << others.size() / 25 << " other records, " << kept.size() / 25
                              << " kept";
  std::printf("%d erases beside the lesson on the other client; %zu of its %d records kept\n",
              erases, seen.size(), kAppended);
}

// A remover on one computer stopped mid-removal (put to sleep) until its
// lock is older than the age limit: the other computer takes the lock over,
// finishes the removal from its journal and makes its own; the first,
// woken, writes nothing more. Every record is in the file or the bin, once.
TEST_F(SmbShareTest, ARemoverStoppedAndTakenOverWritesNothingAfterWaking) {
  MakeSampleFolders();
  // A larger file, so that the removal is under way long enough to stop it.
  std::string big = Slurp(share.served() + "/RECORDS.DAT");
  const std::string original_one = big;
  while (big.size() < 8'000'000) big += original_one;
  std::ofstream(share.served() + "/RECORDS.DAT", std::ios::binary | std::ios::trunc) << big;
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // past the clients' caches
  const std::string lock = share.served() + "/QUILLON.LCK";
  const pid_t first = ::fork();
  if (first == 0) {
    const std::string command = std::string(QUILLON_CLI) + " --folder '" + share.Through(0) +
                                "' erase --class 3 --student 4 --yes >" + scratch.path() + "/first 2>&1";
    ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Stopped half way: once its zero byte is in the file (records moving).
  bool stopped = false;
  for (int i = 0; i < 20000 && !stopped; ++i) {
    const int fd = ::open((share.served() + "/RECORDS.DAT").c_str(), O_RDONLY | O_CLOEXEC);
    std::string bytes(big.size(), '\1');
    const ssize_t n = fd < 0 ? -1 : ::pread(fd, bytes.data(), bytes.size(), 0);
    if (fd >= 0) ::close(fd);
    if (n > 0 && bytes.substr(0, static_cast<std::size_t>(n)).find('\0') != std::string::npos) {
      stopped = ::kill(first, SIGSTOP) == 0;
    }
  }
  ASSERT_TRUE(stopped) << "the first remover ended before it could be stopped";
  int status = 0;
  ASSERT_EQ(::waitpid(first, &status, WUNTRACED), first);
  ASSERT_TRUE(WIFSTOPPED(status));
  // Asleep longer than the age limit: the other computer judges the lock
  // stale and takes it out of the way, as it does a stale lock (by a rename;
  // judging its age is tested on a local folder: through smbnetfs the
  // server keeps its own time for a file a client holds open).
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // past the clients' caches
  ASSERT_EQ(::rename((share.Through(1) + "/QUILLON.LCK").c_str(),
                     (share.Through(1) + "/QUILLON.LCK.stale").c_str()),
            0)
      << std::strerror(errno);
  const Result second = Run(share.Through(1), "erase --class 4 --student 1 --yes");
  EXPECT_EQ(second.status, 0) << second.err;
  ::kill(first, SIGCONT);
  ASSERT_EQ(::waitpid(first, &status, 0), first);
  const std::string first_said = Slurp(scratch.path() + "/first");
  // The first says it was taken over and stopped; the files are whole:
  // both students gone, once, into the bin; everything else in its place.
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << first_said;
  EXPECT_NE(first_said.find("was taken over by another program"), std::string::npos)
      << first_said;
  const std::string now = Slurp(share.served() + "/RECORDS.DAT");
  EXPECT_EQ(now.find('\0'), std::string::npos);
  const std::string want = Without(big, {{3, 4}, {4, 1}});
  std::size_t first_difference = 0;
  while (first_difference < std::min(now.size(), want.size()) &&
         now[first_difference] == want[first_difference]) {
    ++first_difference;
  }
  EXPECT_TRUE(now == want) << now.size() / 25 << " records, " << want.size() / 25
                           << " wanted; first difference at record " << first_difference / 25
                           << ": " << now.substr(first_difference / 25 * 25, 25) << " / "
                           << want.substr(first_difference / 25 * 25, 25);
  const Result bin = Run(share.Through(0), "bin");
  EXPECT_EQ(bin.status, 0);
  EXPECT_NE(bin.out.find("Records of "), std::string::npos) << bin.out;
  std::filesystem::remove_all(share.served() + "/QUILLON.LCK.stale");
  EXPECT_FALSE(std::filesystem::exists(lock));
}

// quillon-cli watch through one computer's mount, while a lesson on
// another appends: nothing announces that change here, so the look every 2
// seconds finds it; then Ctrl-C ends the watch with status 0.
TEST_F(SmbShareTest, WatchSeesAnotherComputersAppendByItsLookEveryTwoSeconds) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char today[40];
  std::snprintf(today, sizeof today, "%02d%02d%02d", local.tm_mon + 1, local.tm_mday,
                local.tm_year % 100);
  std::ofstream(share.served() + "/LESSONS.DAT", std::ios::binary) << testing::MinimalLessons();
  std::ofstream(share.served() + "/CLASSES.DAT", std::ios::binary)
      << testing::ClassRec("Algebra Lab", "070", "3");
  std::ofstream(share.served() + "/STUDENTS.DAT", std::ios::binary)
      << testing::StudentRec("Ann Lee", "1", "3") + testing::StudentRec("Bo Diaz", "2", "3");
  std::ofstream(share.served() + "/RECORDS.DAT", std::ios::binary)
      << testing::ActRec("C1", "3", "1", today, "01", "01", "10", "9", "12");
  PosixFolder through(share.Through(0));
  EXPECT_FALSE(through.ChangesAreAnnounced());
  testing::RunningCommand watch(QUILLON_CLI, {"--folder", share.Through(0), "watch"});
  // The line after its time.
  auto after_time = [](const std::string& line) {
    return line.find('\t') == std::string::npos ? line : line.substr(line.find('\t'));
  };
  const std::string first = watch.Line();
  if (first == "<none>") {
    std::string err;
    watch.Interrupt(&err);
    FAIL() << "no line; standard error: " << err;
  }
  EXPECT_EQ(after_time(first), "\tAlgebra Lab\tAnn Lee\tC1 U1 L1\tPractice\t90\tA\t12");
  testing::LessonAppends(share.Through(1) + "/RECORDS.DAT",
                         testing::ActRec("C1", "3", "2", today, "01", "51", "10", "6", "9"));
  const std::string next = watch.Line();
  EXPECT_EQ(after_time(next), "\tAlgebra Lab\tBo Diaz\tC1 U1 L1\tLesson Test\t60\tNo\t9");
  std::string err;
  EXPECT_EQ(watch.Interrupt(&err), 0);
  EXPECT_EQ(err, "");
}

}  // namespace
}  // namespace quillon

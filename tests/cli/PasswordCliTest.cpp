// The administrator password before quillon-cli shows or changes students'
// data, run as the built program: from --password-file, from
// QUILLON_PASSWORD, and typed at a terminal (a pseudo-terminal here) with
// echo off and three tries; wrong or missing, one line, status 4, and the
// folder as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "support/core/Builders.h"
#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;
using Result = testing::CommandResult;

const std::string kClasses = "1\t70\tAlgebra\n";
const std::string kNeeded =
    "quillon-cli: s3.dat: the administrator password is needed: type it at a terminal, or give "
    "it with --password-file FILE or in QUILLON_PASSWORD\n";
const std::string kPrompt = "Enter Administrator Password: ";

// Every file of `folder` (and of its subfolders) with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = e.path().string().substr(folder.size());
    files[name] = e.is_regular_file() ? testing::ReadBytes(e.path().string()) : "<not a file>";
  }
  return files;
}

// What a run on a terminal showed there, and how it ended.
struct TerminalRun {
  Result result;
  std::string shown;        // everything the terminal showed, in order
  bool echo_after = false;  // the terminal echoes again after the run
};

class PasswordCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("LESSONS.DAT", testing::MinimalLessons());
    dir.Write("CLASSES.DAT", ClassRec("Algebra", "070", "1"));
    dir.Write("STUDENTS.DAT", StudentRec("Ann", "1", "1"));
    dir.Write("RECORDS.DAT", ActRec("C3", "1", "1", "091526", "01", "51", "10", "9", "25"));
    dir.Write("roster.csv", "Name\r\nZed\r\n");
    dir.Write("s3.dat", "klmn\r\n");  // abcd, scrambled
    dir.Write("right.txt", "abcd\r\nnot this line\n");
    dir.Write("wrong.txt", "abce\n");
  }
  // `args` run in the folder with the variables `env`, in a session of its
  // own: without a terminal to ask on.
  Result Run(const std::string& env, const std::string& args) {
    return testing::RunCommand(
        "setsid -w env -u QUILLON_PASSWORD " + env + " " + std::string(QUILLON_CLI) + " " + args,
        dir.path());
  }

  // `args` run with a pseudo-terminal as the controlling terminal (standard
  // output and error go to files); each line of `typed` is typed when the
  // prompt has shown, "\x04" ending the input.
  TerminalRun RunOnTerminal(const std::vector<std::string>& args,
                            const std::vector<std::string>& typed) {
    const std::string out = dir.path() + "/.out", err = dir.path() + "/.err";
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
      if (chdir(dir.path().c_str()) != 0) _exit(126);
      const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0) _exit(126);
      unsetenv("QUILLON_PASSWORD");
      std::vector<char*> argv{const_cast<char*>(QUILLON_CLI)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(QUILLON_CLI, argv.data());
      _exit(127);
    }
    TerminalRun run;
    if (pid < 0) return run;
    std::size_t next = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    for (;;) {
      // Type the next line once as many prompts have shown as lines typed.
      std::size_t prompts = 0;
      for (std::size_t at = run.shown.find(kPrompt); at != std::string::npos;
           at = run.shown.find(kPrompt, at + 1)) {
        ++prompts;
      }
      if (next < typed.size() && prompts > next) {
        const std::string line = typed[next] == "\x04" ? typed[next] : typed[next] + "\n";
        if (::write(master, line.data(), line.size()) < 0) break;
        ++next;
      }
      struct pollfd p {
        master, POLLIN, 0
      };
      if (std::chrono::steady_clock::now() > deadline) {
        ::kill(pid, SIGKILL);
        ADD_FAILURE() << "the run did not end; the terminal showed: " << run.shown;
        break;
      }
      if (::poll(&p, 1, 100) <= 0) continue;
      char buf[256];
      const ssize_t n = ::read(master, buf, sizeof buf);
      if (n <= 0) break;  // the program ended: the terminal is closed
      run.shown.append(buf, static_cast<std::size_t>(n));
    }
    struct termios settings;
    run.echo_after = tcgetattr(master, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    ::close(master);
    run.result = Result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::ReadBytes(out),
                        testing::ReadBytes(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
  }
  testing::TempFolder dir;
};

TEST_F(PasswordCliTest, FromAFileOrTheEnvironmentOrNotAtAll) {
  struct Case {
    std::string env, args;
    Result result;
  } cases[] = {
      {"QUILLON_PASSWORD=abcd", "classes", {0, kClasses, ""}},
      {"QUILLON_PASSWORD=' ABCD '", "classes", {0, kClasses, ""}},  // lowered, trimmed
      {"QUILLON_PASSWORD=abce",
       "classes",
       {4, "", "quillon-cli: QUILLON_PASSWORD: Password is incorrect.\n"}},
      {"QUILLON_PASSWORD=",
       "classes",
       {4, "", "quillon-cli: QUILLON_PASSWORD: Password is incorrect.\n"}},
      {"", "--password-file right.txt classes", {0, kClasses, ""}},
      {"", "classes --password-file=right.txt", {0, kClasses, ""}},
      {"", "--password-file /dev/stdin classes <right.txt", {0, kClasses, ""}},
      // The file comes before the environment.
      {"QUILLON_PASSWORD=abce", "--password-file right.txt classes", {0, kClasses, ""}},
      {"QUILLON_PASSWORD=abcd",
       "--password-file wrong.txt classes",
       {4, "", "quillon-cli: wrong.txt: Password is incorrect.\n"}},
      {"",
       "--password-file none.txt classes",
       {4, "", "quillon-cli: none.txt: cannot be read: No such file or directory\n"}},
      {"", "classes", {4, "", kNeeded}},
      {"", "roster --class 1", {4, "", kNeeded}},
      // A wrong line is said first; help and version need no password.
      {"",
       "roster --class 1 --yes",
       {2, "",
        "quillon-cli: unknown option '--yes' for roster; try 'quillon-cli roster --help'\n"}},
      {"",
       "--version",
       {0,
        "quillon-cli 1.0.0 (Quillon Student Recordkeeping System)\n"
        "Licence: GPL-3.0-or-later (GNU General Public License, version 3 "
        "or later).\n",
        ""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.env, c.args), c.result) << c.env << " " << c.args;
  }
  EXPECT_EQ(Run("", "records --help").status, 0);

  // Wrong or missing: nothing read (a FIFO in the place of Diag.dat is
  // never opened) and nothing written (no working file, no bin, no journal,
  // no student added).
  ASSERT_EQ(::mkfifo((dir.path() + "/Diag.dat").c_str(), 0644), 0);
  const auto before = Snapshot(dir.path());
  for (const char* args :
       {"erase --class 1 --yes", "erase --class 1 --diagnostics --yes", "records --class 1",
        "import --class 1 --yes roster.csv", "diagnostics --class 1"}) {
    EXPECT_EQ(Run("QUILLON_PASSWORD=abce", args).status, 4) << args;
    EXPECT_EQ(Run("", args), (Result{4, "", kNeeded})) << args;
  }
  EXPECT_EQ(Snapshot(dir.path()), before);
  std::filesystem::remove(dir.path() + "/Diag.dat");
  EXPECT_EQ(Run("QUILLON_PASSWORD=abcd", "erase --class 1 --yes"),
            (Result{0, "Erased 1 records.\n", ""}));
}

TEST_F(PasswordCliTest, ABlankStoredPasswordAsksNothingAnUnreadableOneRefuses) {
  for (const char* first_line : {"", "   \r\nklmn\r\n"}) {
    dir.Write("s3.dat", first_line);
    EXPECT_EQ(Run("", "classes"), (Result{0, kClasses, ""})) << first_line;
  }
  if (::geteuid() != 0 || std::system("command -v setpriv >/dev/null") != 0) {
    GTEST_SKIP() << "needs root and setpriv to run as another account";
  }
  dir.Write("s3.dat", "klmn\r\n");
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod((dir.path() + "/s3.dat").c_str(), 0), 0);
  EXPECT_EQ(
      Run("QUILLON_PASSWORD=abcd setpriv --reuid=65534 --regid=65534 --clear-groups", "classes"),
      (Result{3, "",
              "quillon-cli: s3.dat: cannot open the file for reading: Permission "
              "denied\n"}));
}

TEST_F(PasswordCliTest, TypedAtTheTerminalWithoutEchoThreeTries) {
  const std::string twice_wrong = kPrompt + "\r\nPassword is incorrect.\r\n" + kPrompt +
                                  "\r\nPassword is incorrect.\r\n" + kPrompt + "\r\n";
  struct Case {
    std::vector<std::string> args, typed;
    Result result;
    std::string shown;
  } cases[] = {
      {{"classes"}, {"abcd"}, {0, kClasses, ""}, kPrompt + "\r\n"},
      {{"classes"},
       {"wrong", " ABCD"},
       {0, kClasses, ""},
       kPrompt + "\r\nPassword is incorrect.\r\n" + kPrompt + "\r\n"},
      {{"erase", "--class", "1", "--yes"},
       {"one", "two", "abc"},
       {4, "", "quillon-cli: 3 Password attempts have failed.\n"},
       twice_wrong},
      {{"classes"},
       {"\x04"},
       {4, "", "quillon-cli: s3.dat: no administrator password was typed\n"},
       kPrompt},
      // A password file given: nothing is asked at the terminal.
      {{"--password-file", "wrong.txt", "classes"},
       {},
       {4, "", "quillon-cli: wrong.txt: Password is incorrect.\n"},
       ""},
  };
  const std::string records = dir.Read("RECORDS.DAT");
  for (const Case& c : cases) {
    const TerminalRun run = RunOnTerminal(c.args, c.typed);
    EXPECT_EQ(run.result, c.result) << c.args.front() << " " << c.typed.size();
    // What was typed never shows: only the prompts and the line ends.
    EXPECT_EQ(run.shown, c.shown) << c.args.front() << " " << c.typed.size();
    EXPECT_TRUE(run.echo_after) << c.args.front() << " " << c.typed.size();
  }
  EXPECT_EQ(dir.Read("RECORDS.DAT"), records);
  EXPECT_FALSE(dir.Exists("Erased"));
}

}  // namespace
}  // namespace quillon

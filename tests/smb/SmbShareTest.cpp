// quillon-cli on a program folder shared over SMB, as a lab shares it: a
// Samba server and smbnetfs clients on this computer. Skipped, with the
// reason, where smbd, smbnetfs or FUSE cannot be used.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "smb/SmbShare.h"
#include "support/core/TempFolder.h"

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
  Result Run(const std::string& folder, const std::string& args, const std::string& as = "") {
    const std::string out = scratch.path() + "/out", err = scratch.path() + "/err";
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

  testing::TempFolder scratch;
  SmbShare share;
};

// Each command in turn on the local folder and through the share: the same
// status, output and messages, and in the end the same files, byte for
// byte; no lock file left behind on either.
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
            "2\tZara Quill\tZQ7\t10\tadd\n3\tIvan Okafor\tIO42\t11\tadd\n4\t\t\t\tno name\n");
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
  EXPECT_EQ(here.count("QUILLON.LCK"), 0u);
  EXPECT_EQ(there.count("QUILLON.LCK"), 0u);
}

}  // namespace
}  // namespace quillon

// quillon-cli's command line, on a small program folder in memory: any
// arguments end with a status from 0 to 4; a failure says so in one line on
// the error stream; a command that succeeds says nothing there.
#include <cstdint>
#include <sstream>

#include "cli/Commands.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "support/Check.h"
#include "support/MemoryFolder.h"
#include "support/core/CountingRandom.h"
#include "support/core/FixedClock.h"

namespace {

std::string Lessons() {
  std::string text;
  for (int c = 1; c <= 6; ++c) text += "\"C\",1,1,\"U\",\"L\"\r\n";
  for (int c = 1; c <= 6; ++c) text += "\"P\",1,\"L\"\r\n";
  return text + "\"C\",1,1,\"U\",\"L\"\r\n\"P\",1,\"L\"\r\n\"C\",1,1,\"U\",\"L\"\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  std::vector<std::string> args = fuzz::SplitInput(data, size, 8);
  while (!args.empty() && args.back().empty()) args.pop_back();
  auto open = [](const std::string& path, std::string* problem) -> std::unique_ptr<Folder> {
    if (path != ".") {
      *problem = "there is no such folder";
      return nullptr;
    }
    auto folder = std::make_unique<fuzz::MemoryFolder>();
    folder->files["LESSONS.DAT"] = Lessons();
    folder->files[kClassesFile] =
        "Algebra                    0601 Geometry                   0702 ";
    folder->files[kStudentsFile] = "Ann                  1 1 KLM   Bob                  2 1       ";
    folder->files[kRecordsFile] = "C11 1 09152601011009 25C11 2 09142601511006 5  ";
    folder->files["Diag.dat"] = std::string("C11 1 091526") + std::string(60, 'A');
    return folder;
  };
  testing::FixedClock day({2024, 4, 5});
  testing::CountingRandom random;
  std::ostringstream out, err;
  const CliEnvironment environment{day,          random, open, TextEncoding::Named("UTF-8"),
                                   std::nullopt, nullptr};
  const int status = RunCli(args, environment, out, err);
  FUZZ_CHECK(status >= 0 && status <= 4);
  if (status >= 2) {
    FUZZ_CHECK(err.str().rfind("quillon-cli: ", 0) == 0);
    FUZZ_CHECK(err.str().find('\n') == err.str().size() - 1);
  }
  if (status == 0) FUZZ_CHECK(err.str().empty());
  return 0;
}

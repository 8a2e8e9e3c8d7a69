// quillon-cli summary: its lines, its CSV form and its exit statuses, run as
// the built program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "support/core/Builders.h"
#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ActRec;
using testing::ClassRec;
using testing::StudentRec;

TEST(SummaryCli, LinesCsvAndStatuses) {
  testing::TempFolder dir;
  dir.Write("LESSONS.DAT", testing::MinimalLessons());
  dir.Write(kClassesFile, ClassRec("Geometry", "075", "2") + ClassRec("Empty", "060", "3"));
  dir.Write(kStudentsFile, StudentRec("Zed", "2", "2") + StudentRec("Amy", "1", "2"));
  // Amy: a unit test of 3 of 4 (75, Yes at 75) in 1985, practice 1 of 3 in
  // 2079; Zed nothing.
  dir.Write(kRecordsFile, ActRec("C2", "2", "1", "061585", "52", "00", "4", "3", "11") +
                              ActRec("C2", "2", "1", "123179", "02", "03", "3", "1", "4"));
  struct Case {
    const char* args;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {"summary --class 2", 0,
       "Student\tTests\tPassed\tFailed\tAverage %\tPractice\tPractice %\tMinutes\tLast "
       "work\tNeeds help\n"
       "Amy\t1\t1\t0\t75\t3\t33\t15\t12/31/79\t0\n"
       "Zed\t0\t0\t0\t\t0\t\t0\t\t0\n",
       ""},
      {"summary --class 2 --to 12/31/99 --csv", 0,
       "\xEF\xBB\xBFStudent,Tests,Passed,Failed,Average %,Practice,Practice %,Minutes,Last "
       "work,Needs help\r\n"
       "Amy,1,1,0,75,0,,11,1985-06-15,0\r\n"
       "Zed,0,0,0,,0,,0,,0\r\n",
       ""},
      {"summary --class 3", 1, "No students found.\n", ""},
      {"summary --class 2 --from 02/30/26", 2, "",
       "quillon-cli: --from takes a date as mm/dd/yy, not \"02/30/26\"\n"},
      {"summary --class 2 --from 02/01/26 --to 01/01/26", 2, "",
       "quillon-cli: --from is after --to\n"},
      {"summary --class 7", 2, "", "quillon-cli: there is no class 7 in CLASSES.DAT\n"},
  };
  auto run = [&](const std::string& args) {
    return testing::RunCommand(std::string(QUILLON_CLI) + " --folder " + dir.path() + " " + args);
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.args), (testing::CommandResult{c.status, c.out, c.err})) << c.args;
  }
  // A roster that cannot be read (a folder in its place).
  std::filesystem::remove(dir.path() + "/" + kStudentsFile);
  std::filesystem::create_directory(dir.path() + "/" + kStudentsFile);
  EXPECT_EQ(run("summary --class 2").status, 3);
}

}  // namespace
}  // namespace quillon

// quillon-cli watch: the lines of the scripted day, in the program's own
// run of the command with the test's clock and pacing; its options; the
// files left as they were, a removal cut short included; and the program
// itself following an append until Ctrl-C ends it with status 0.
#include <gtest/gtest.h>

#include <ctime>
#include <sstream>

#include "base/Text.h"
#include "cli/Commands.h"
#include "cli/ProgramFolder.h"
#include "cli/WatchPacing.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "support/core/Builders.h"
#include "support/core/CountingRandom.h"
#include "support/core/FixedClock.h"
#include "support/core/LabDay.h"
#include "support/core/RunCommand.h"
#include "support/core/TempFolder.h"
#include "support/core/WatchedFolder.h"

namespace quillon {
namespace {

using testing::ActRec;

// Each wait of the watch is the day's next step; after `last` the watch
// ends.
class ScriptedPacing : public cli::WatchPacing {
 public:
  ScriptedPacing(testing::TempFolder& dir, testing::FixedClock& clock, std::size_t last)
      : dir_(dir), clock_(clock), steps_(testing::LabDaySteps()), last_(last) {}
  void Begin(Folder&) override { begun = true; }
  bool Next() override {
    if (++at_ > last_ || at_ >= steps_.size()) return false;
    if (steps_[at_].act) steps_[at_].act(dir_);
    clock_.At(steps_[at_].hour, steps_[at_].minute);
    return true;
  }
  bool begun = false;

 private:
  testing::TempFolder& dir_;
  testing::FixedClock& clock_;
  std::vector<testing::LabDayStep> steps_;
  std::size_t last_;
  std::size_t at_ = 0;
};

struct Watched {
  int status;
  std::string out, err;
  std::vector<std::string> calls;  // what it did to the folder
  bool not_reading;
};

// quillon-cli --folder DIR watch `args`, run by the program's own RunCli
// with the test's clock, until step `last` of the day.
Watched Watch(testing::TempFolder& dir, testing::FixedClock& clock,
              const std::vector<std::string>& args, std::size_t last) {
  testing::WatchedFolder watched(&dir.folder());
  testing::CountingRandom random;
  ScriptedPacing pacing(dir, clock, last);
  const CliEnvironment environment{
      clock,
      random,
      [&](const std::string&, std::string*) -> std::unique_ptr<Folder> {
        return std::make_unique<FolderWrapper>(&watched);
      },
      TextEncoding::Named("UTF-8"),
      std::nullopt,
      nullptr,
      &pacing};
  std::vector<std::string> line = {"--folder", dir.path(), "watch"};
  line.insert(line.end(), args.begin(), args.end());
  std::ostringstream out, err;
  const int status = RunCli(line, environment, out, err);
  EXPECT_TRUE(pacing.begun);
  return {status, out.str(), err.str(), watched.calls, watched.AnyNotReading()};
}

Watched WatchTheDay(const std::vector<std::string>& args) {
  testing::TempFolder dir;
  testing::WriteLabDayFolder(dir);
  testing::FixedClock clock(testing::kLabDay);
  clock.At(9, 0);
  return Watch(dir, clock, args, 99);
}

const char kCy[] = "before 08:50\tGeometry\tCy Moss\tC3 U1 L1\tPractice\t75\tC\t18\n";
const char kAnn[] =
    "09:05\tAlgebra Lab\tAnn Lee\tC1 U1 L1\tPractice\t90\tA\t12\n"
    "09:12\tAlgebra Lab\tAnn Lee\tC1 U1 L1\tLesson Test\t50\tNo\t7\n";
const char kBo[] =
    "09:14\tAlgebra Lab\tBo Diaz\tP2 L1\tPractice\t100\tA\t9\n"
    "09:16\tAlgebra Lab\tBo Diaz\tPre-Algebra\tDiagnostic Test\t100\t\t\n"
    "09:34\tAlgebra Lab\tBo Diaz\tUnit 1: Whole Nos: Add. and Subtr.\tUnit Test\t80\tYes\t14\n";

TEST(WatchCliTest, TheScriptedDayLineByLine) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{}, std::string(kCy) + kAnn + kBo},
      {{"--class", "4"}, kCy},
      // Cy's record was there before 08:50: not from 09:13 on.
      {{"--since", "9:13"}, kBo},
      {{"--class", "3", "--since", "09:14", "--json"},
       "{\"time\":\"09:14\",\"time_known\":true,\"class\":{\"number\":3,\"name\":\"Algebra "
       "Lab\"},\"student\":{\"number\":2,\"name\":\"Bo Diaz\"},\"title\":\"P2 "
       "L1\",\"activity\":\"Practice\",\"percent\":100,\"result\":\"A\",\"minutes\":9}\n"
       "{\"time\":\"09:16\",\"time_known\":true,\"class\":{\"number\":3,\"name\":\"Algebra "
       "Lab\"},\"student\":{\"number\":2,\"name\":\"Bo "
       "Diaz\"},\"title\":\"Pre-Algebra\",\"activity\":\"Diagnostic "
       "Test\",\"percent\":100,\"result\":null,\"minutes\":null}\n"
       "{\"time\":\"09:34\",\"time_known\":true,\"class\":{\"number\":3,\"name\":\"Algebra "
       "Lab\"},\"student\":{\"number\":2,\"name\":\"Bo Diaz\"},\"title\":\"Unit 1: Whole Nos: "
       "Add. and Subtr.\",\"activity\":\"Unit Test\",\"percent\":80,\"result\":\"Yes\","
       "\"minutes\":14}\n"},
  };
  for (const Case& c : cases) {
    const Watched w = WatchTheDay(c.args);
    EXPECT_EQ(w.status, 0);
    EXPECT_EQ(w.out, c.out) << ::testing::PrintToString(c.args);
    // The erase cut short and the record written in two parts, once each.
    EXPECT_EQ(w.err,
              "RECORDS.DAT holds a zero byte at byte 100 (in record 5), which no tutoring lesson "
              "writes: a removal of records is under way or was cut short, or the file is "
              "damaged. Until it is gone the records are shown as they stood before it.\n"
              "RECORDS.DAT ends in 10 bytes of a record still being written; it is shown once it "
              "is whole.\n");
    // Nothing written, no lock, nothing kept open; not even the start's
    // finishing of what is pending.
    EXPECT_FALSE(w.not_reading) << ::testing::PrintToString(w.calls);
  }
}

// Begun while an erase is cut short: the records before the zero byte, the
// note, and the files left exactly as they were (the other commands finish
// the erase before they read).
TEST(WatchCliTest, BegunWhileAnEraseIsCutShortItFinishesNothing) {
  testing::TempFolder dir;
  testing::WriteLabDayFolder(dir);
  testing::FixedClock clock(testing::kLabDay);
  const std::vector<testing::LabDayStep> steps = testing::LabDaySteps();
  for (std::size_t i = 0; i <= 6; ++i) {
    if (steps[i].act) steps[i].act(dir);
  }
  clock.At(9, 30);
  const std::string records = dir.Read(kRecordsFile), journal = dir.Read("RECORDS.TMP");
  ASSERT_NE(records.find('\0'), std::string::npos);
  const Watched w = Watch(dir, clock, {}, 0);
  EXPECT_EQ(w.status, 0);
  EXPECT_EQ(w.out,
            std::string("before 09:30\tGeometry\tCy Moss\tC3 U1 L1\tPractice\t75\tC\t18\n") +
                "before 09:30\tAlgebra Lab\tAnn Lee\tC1 U1 L1\tPractice\t90\tA\t12\n"
                "before 09:30\tAlgebra Lab\tAnn Lee\tC1 U1 L1\tLesson Test\t50\tNo\t7\n"
                "before 09:16\tAlgebra Lab\tBo Diaz\tPre-Algebra\tDiagnostic Test\t100\t\t\n");
  EXPECT_EQ(w.err.substr(0, 60), "RECORDS.DAT holds a zero byte at byte 100 (in record 5), whi");
  EXPECT_FALSE(w.not_reading) << ::testing::PrintToString(w.calls);
  EXPECT_EQ(dir.Read(kRecordsFile), records);
  EXPECT_EQ(dir.Read("RECORDS.TMP"), journal);
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return ZeroPad(local.tm_mon + 1, 2) + ZeroPad(local.tm_mday, 2) + ZeroPad(local.tm_year % 100, 2);
}

// The program itself: today's records so far at once, then a lesson's
// append as it is written, until Ctrl-C, which ends it with status 0.
TEST(WatchCliTest, TheProgramFollowsAnAppendUntilCtrlC) {
  testing::TempFolder dir;
  testing::WriteLabDayFolder(dir);
  dir.Write(kRecordsFile, ActRec("C1", "3", "1", Today(), "01", "01", "10", "9", "12"));
  testing::RunningCommand watch(QUILLON_CLI, {"--folder", dir.path(), "watch"});
  const std::string first = watch.Line();
  EXPECT_EQ(first.rfind("before ", 0), 0u) << first;
  EXPECT_EQ(first.substr(first.find('\t')),
            "\tAlgebra Lab\tAnn Lee\tC1 U1 L1\tPractice\t90\tA\t12");
  testing::LessonAppends(dir.folder().FullPath(kRecordsFile),
                         ActRec("C1", "3", "2", Today(), "01", "51", "10", "7", "9"));
  const std::string next = watch.Line();
  EXPECT_EQ(next.find('\t'), 5u) << next;  // hh:mm
  EXPECT_EQ(next.substr(next.find('\t')),
            "\tAlgebra Lab\tBo Diaz\tC1 U1 L1\tLesson Test\t70\tYes\t9");
  std::string err;
  EXPECT_EQ(watch.Interrupt(&err), 0);
  EXPECT_EQ(err, "");
}

}  // namespace
}  // namespace quillon

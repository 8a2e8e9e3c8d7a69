// Lab Now over a scripted day: the rows, the lines of the records as they
// come in and the notes, after each step; the watcher never holding a file
// open, never writing, never taking the lock. And the follower of one file:
// only the appended bytes read, a rewrite of any kind read whole.
#include <gtest/gtest.h>
#include <unistd.h>

#include "data/ActivityRecord.h"
#include "data/DiagFile.h"
#include "data/LessonCatalogue.h"
#include "records/LabNow.h"
#include "records/RecordTail.h"
#include "support/core/Builders.h"
#include "support/core/FixedClock.h"
#include "support/core/LabDay.h"
#include "support/core/TempFolder.h"
#include "support/core/WatchedFolder.h"

namespace quillon {
namespace {

using Lines = std::vector<std::string>;
using testing::ActRec;

struct Expected {
  Lines arrived;  // the records taken in at this step, as LabTabLine
  Lines rows;     // every class's rows, their cells joined by "|"
  Lines notes;
};

Lines Cells(const std::vector<LabRow>& rows) {
  Lines out;
  for (const LabRow& row : rows) {
    std::string line;
    for (int c = 0; c < kLabColumns; ++c) line += (c ? "|" : "") + LabCell(row, c);
    out.push_back(line);
  }
  return out;
}

const char kZeroNote[] =
    "RECORDS.DAT holds a zero byte at byte 100 (in record 5), which no tutoring lesson writes: a "
    "removal of records is under way or was cut short, or the file is damaged. Until it is gone "
    "the records are shown as they stood before it.";

// What the day shows after each of its steps.
const Expected kDay[] = {
    // 09:00
    {{"before 08:50\tGeometry\tCy Moss\tC3 U1 L1\tPractice\t75\tC\t18"},
     {"Geometry|Cy Moss|before 08:50||C3 U1 L1|Practice|75|C|18|20|75|0|0"},
     {}},
    // 09:05: the first record of the view; Cy is 15 minutes without one.
    {{"09:05\tAlgebra Lab\tAnn Lee\tC1 U1 L1\tPractice\t90\tA\t12"},
     {"Algebra Lab|Ann Lee|now||C1 U1 L1|Practice|90|A|12|10|90|0|0",
      "Geometry|Cy Moss|before 08:50|No record for 15 min or more|C3 U1 "
      "L1|Practice|75|C|18|20|75|0|0"},
     {}},
    // 09:12
    {{"09:12\tAlgebra Lab\tAnn Lee\tC1 U1 L1\tLesson Test\t50\tNo\t7"},
     {"Algebra Lab|Ann Lee|now|Failed a test today|C1 U1 L1|Lesson Test|50|No|19|10|90|0|1",
      "Geometry|Cy Moss|before 08:50|No record for 22 min or more|C3 U1 "
      "L1|Practice|75|C|18|20|75|0|0"},
     {}},
    // 09:14
    {{"09:14\tAlgebra Lab\tBo Diaz\tP2 L1\tPractice\t100\tA\t9"},
     {"Algebra Lab|Bo Diaz|now||P2 L1|Practice|100|A|9|8|100|0|0",
      "Algebra Lab|Ann Lee|2 min|Failed a test today|C1 U1 L1|Lesson Test|50|No|19|10|90|0|1",
      "Geometry|Cy Moss|before 08:50|No record for 24 min or more|C3 U1 "
      "L1|Practice|75|C|18|20|75|0|0"},
     {}},
    // 09:16: a diagnostic test counts as work, not in the minutes or tests.
    {{"09:16\tAlgebra Lab\tBo Diaz\tPre-Algebra\tDiagnostic Test\t100\t\t"},
     {"Algebra Lab|Bo Diaz|now||Pre-Algebra|Diagnostic Test|100||9|8|100|0|0",
      "Algebra Lab|Ann Lee|4 min|Failed a test today|C1 U1 L1|Lesson Test|50|No|19|10|90|0|1",
      "Geometry|Cy Moss|before 08:50|No record for 26 min or more|C3 U1 "
      "L1|Practice|75|C|18|20|75|0|0"},
     {}},
    // 09:29: Ann idle as well, while Bo works.
    {{},
     {"Algebra Lab|Bo Diaz|13 min||Pre-Algebra|Diagnostic Test|100||9|8|100|0|0",
      "Algebra Lab|Ann Lee|17 min|Failed a test today; no record for 17 min|C1 U1 L1|Lesson "
      "Test|50|No|19|10|90|0|1",
      "Geometry|Cy Moss|before 08:50|No record for 39 min or more|C3 U1 "
      "L1|Practice|75|C|18|20|75|0|0"},
     {}},
    // 09:30: the erase cut short: a note, the rows as they stood.
    {{},
     {"Algebra Lab|Bo Diaz|14 min||Pre-Algebra|Diagnostic Test|100||9|8|100|0|0",
      "Algebra Lab|Ann Lee|18 min|Failed a test today; no record for 18 min|C1 U1 L1|Lesson "
      "Test|50|No|19|10|90|0|1",
      "Geometry|Cy Moss|before 08:50|No record for 40 min or more|C3 U1 "
      "L1|Practice|75|C|18|20|75|0|0"},
     {kZeroNote}},
    // 09:31: finished, the file shorter: Cy's row gone, the others' times
    // kept; nobody has worked for 15 minutes, so nobody is idle.
    {{},
     {"Algebra Lab|Bo Diaz|15 min||Pre-Algebra|Diagnostic Test|100||9|8|100|0|0",
      "Algebra Lab|Ann Lee|19 min|Failed a test today|C1 U1 L1|Lesson Test|50|No|19|10|90|0|1"},
     {}},
    // 09:33: a record not yet whole is a note, not a record.
    {{},
     {"Algebra Lab|Bo Diaz|17 min||Pre-Algebra|Diagnostic Test|100||9|8|100|0|0",
      "Algebra Lab|Ann Lee|21 min|Failed a test today|C1 U1 L1|Lesson Test|50|No|19|10|90|0|1"},
     {"RECORDS.DAT ends in 10 bytes of a record still being written; it is shown once it is "
      "whole."}},
    // 09:34
    {{"09:34\tAlgebra Lab\tBo Diaz\tUnit 1: Whole Nos: Add. and Subtr.\tUnit Test\t80\tYes\t14"},
     {"Algebra Lab|Bo Diaz|now||Unit 1: Whole Nos: Add. and Subtr.|Unit Test|80|Yes|23|8|100|1|0",
      "Algebra Lab|Ann Lee|22 min|Failed a test today; no record for 22 min|C1 U1 L1|Lesson "
      "Test|50|No|19|10|90|0|1"},
     {}},
};

class LabNowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteLabDayFolder(dir);
    ASSERT_TRUE(LoadLessons(dir.folder(), &catalogue).ok());
    FillUnitTestNames(&unit_names);
  }
  testing::TempFolder dir;
  testing::WatchedFolder watched{&dir.folder()};
  testing::FixedClock clock{testing::kLabDay};
  LessonCatalogue catalogue;
  UnitNameTable unit_names;
};

TEST_F(LabNowTest, AScriptedDay) {
  LabWatch watch(watched, clock, {catalogue, unit_names});
  const std::vector<testing::LabDayStep> steps = testing::LabDaySteps();
  ASSERT_EQ(steps.size(), std::size(kDay));
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const testing::LabDayStep& step = steps[i];
    SCOPED_TRACE(step.what);
    if (step.act) step.act(dir);
    clock.At(step.hour, step.minute);
    watched.Calls();
    std::vector<LabWork> arrived;
    ASSERT_TRUE(watch.Look(&arrived).ok());
    Lines lines;
    for (const LabWork& w : arrived) lines.push_back(LabTabLine(w, watch.Describe(w)));
    EXPECT_EQ(lines, kDay[i].arrived);
    EXPECT_EQ(Cells(watch.Rows(kAllClasses, SecondsOf(clock.Now()))), kDay[i].rows);
    EXPECT_EQ(watch.notes(), kDay[i].notes);
    // Reading only, and nothing kept open between looks.
    EXPECT_FALSE(watched.AnyNotReading()) << ::testing::PrintToString(watched.calls);
    EXPECT_EQ(testing::OpenDescriptors(dir.folder().FullPath(kRecordsFile)), 0);
    EXPECT_EQ(testing::OpenDescriptors(dir.folder().FullPath(kDiagFile)), 0);
  }
  // A look at files that did not change opens none of them.
  watched.Calls();
  ASSERT_TRUE(watch.Look().ok());
  EXPECT_EQ(watched.Calls(), (Lines{"LookAtFile CLASSES.DAT", "LookAtFile STUDENTS.DAT",
                                    "LookAtFile RECORDS.DAT", "LookAtFile Diag.dat"}));
}

TEST_F(LabNowTest, OneClassIsIdleOnlyBesideItsOwnStudentsAndANewDayStartsAfresh) {
  LabWatch watch(watched, clock, {catalogue, unit_names});
  const std::vector<testing::LabDayStep> steps = testing::LabDaySteps();
  for (std::size_t i = 0; i < 6; ++i) {
    if (steps[i].act) steps[i].act(dir);
  }
  clock.At(9, 29);
  ASSERT_TRUE(watch.Look().ok());
  // Cy alone in Geometry: no one else of the class works, so not idle. The
  // records were all there at the first look: before the file's last change.
  EXPECT_EQ(Cells(watch.Rows(4, SecondsOf(clock.Now()))),
            Lines{"Geometry|Cy Moss|before 09:14||C3 U1 L1|Practice|75|C|18|20|75|0|0"});
  // The next day: yesterday's work is not today's.
  clock.Set({2026, 3, 3});
  clock.At(8, 0);
  std::vector<LabWork> arrived;
  ASSERT_TRUE(watch.Look(&arrived).ok());
  EXPECT_TRUE(arrived.empty());
  EXPECT_TRUE(watch.Rows(kAllClasses, SecondsOf(clock.Now())).empty());
  testing::LessonAppends(dir.folder().FullPath(kRecordsFile),
                         ActRec("C1", "3", "1", "030326", "01", "01", "4", "1", "3"));
  clock.At(8, 1);
  ASSERT_TRUE(watch.Look().ok());
  EXPECT_EQ(Cells(watch.Rows(kAllClasses, SecondsOf(clock.Now()))),
            Lines{"Algebra Lab|Ann Lee|now||C1 U1 L1|Practice|25||3|4|25|0|0"});
}

// A file of 1000 records, then each change: the offset read from and what
// the look gives.
TEST(RecordTailTest, OnlyTheAppendedBytesAreReadAndEveryRewriteIsReadWhole) {
  testing::TempFolder dir;
  testing::WatchedFolder watched(&dir.folder());
  const std::string path = dir.folder().FullPath(kRecordsFile);
  auto record = [](int n) {
    return ActRec("C1", "1", "1", "030226", "01", "01", std::to_string(n % 1000), "0", "1");
  };
  std::string file;
  for (int n = 0; n < 1000; ++n) file += record(n);
  dir.Write(kRecordsFile, file);
  testing::SetChangeTime(path, {testing::kLabDay, 8, 0});
  RecordTail tail(watched, kRecordsFile, kActivityRecordLength);
  TailLook look;
  ASSERT_TRUE(tail.Look(&look).ok());
  EXPECT_EQ(look.kind, TailLook::Kind::kReread);
  EXPECT_EQ(look.records, file);
  struct Case {
    const char* what;
    std::function<void()> change;
    std::string read;  // the calls after the look at the file
    TailLook::Kind kind;
    std::string records;
  };
  int minute = 0;
  auto stamp = [&] { testing::SetChangeTime(path, {testing::kLabDay, 9, ++minute}); };
  const Case cases[] = {
      {"two records appended",
       [&] {
         testing::LessonAppends(path, record(1000) + record(1001));
         stamp();
       },
       "ReadFileFrom RECORDS.DAT 24800", TailLook::Kind::kAppended, record(1000) + record(1001)},
      {"nothing changed", [] {}, "", TailLook::Kind::kSame, ""},
      {"one record rewritten in place (same length, new time)",
       [&] {
         dir.Write(kRecordsFile, record(7) + dir.Read(kRecordsFile).substr(25));
         stamp();
       },
       "ReadFileFrom RECORDS.DAT 0", TailLook::Kind::kReread, ""},
      {"records moved forward by a removal while as many were appended",
       [&] {
         const std::string now = dir.Read(kRecordsFile);
         dir.Write(kRecordsFile,
                   now.substr(0, 500) + now.substr(550) + record(5) + record(6) + record(8));
         stamp();
       },
       "ReadFileFrom RECORDS.DAT 24850 ReadFileFrom RECORDS.DAT 0", TailLook::Kind::kReread, ""},
      {"cut shorter",
       [&] {
         ASSERT_EQ(::truncate(path.c_str(), 250), 0);
         stamp();
       },
       "ReadFileFrom RECORDS.DAT 0", TailLook::Kind::kReread, ""},
      {"replaced by another file of the same name",
       [&] {
         dir.Write("NEW.DAT", file.substr(0, 25 * 12));
         ASSERT_EQ(::rename(dir.folder().FullPath("NEW.DAT").c_str(), path.c_str()), 0);
         stamp();
       },
       "ReadFileFrom RECORDS.DAT 0", TailLook::Kind::kReread, file.substr(0, 25 * 12)},
      {"removed", [&] { ASSERT_EQ(::unlink(path.c_str()), 0); }, "ReadFileFrom RECORDS.DAT 0",
       TailLook::Kind::kReread, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.change();
    watched.Calls();
    ASSERT_TRUE(tail.Look(&look).ok());
    std::string read;
    for (const std::string& call : watched.Calls()) {
      if (call != "LookAtFile RECORDS.DAT") read += (read.empty() ? "" : " ") + call;
    }
    EXPECT_EQ(read, c.read);
    EXPECT_EQ(look.kind, c.kind);
    if (!c.records.empty()) {
      EXPECT_EQ(look.records, c.records);
    }
    if (c.kind == TailLook::Kind::kReread) {
      const std::string now = dir.Exists(kRecordsFile) ? dir.Read(kRecordsFile) : "";
      EXPECT_EQ(look.records, now);
    }
  }
}

}  // namespace
}  // namespace quillon

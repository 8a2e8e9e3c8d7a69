#include "support/core/LabDay.h"

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "store/Pending.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/core/StoreSteps.h"
#include "support/core/WatchedFolder.h"

namespace quillon::testing {
namespace {

const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";

// A lesson appends `bytes` to `name` at hh:mm.
std::function<void(TempFolder&)> Appends(const char* name, std::string bytes, int h, int m) {
  return [=](TempFolder& dir) {
    LessonAppends(dir.folder().FullPath(name), bytes);
    SetChangeTime(dir.folder().FullPath(name), {kLabDay, h, m});
  };
}

}  // namespace

void WriteLabDayFolder(TempFolder& dir) {
  dir.Write("LESSONS.DAT", MinimalLessons());
  dir.Write(kClassesFile, ClassRec("Algebra Lab", "070", "3") + ClassRec("Geometry", "060", "4"));
  dir.Write(kStudentsFile, StudentRec("Ann Lee", "1", "3") + StudentRec("Bo Diaz", "2", "3") +
                               StudentRec("Cy Moss", "1", "4"));
  dir.Write(kRecordsFile, ActRec("C1", "3", "1", "030126", "01", "01", "10", "9", "20") +
                              ActRec("C3", "4", "1", "030226", "01", "01", "20", "15", "18"));
  SetChangeTime(dir.folder().FullPath(kRecordsFile), {kLabDay, 8, 50});
}

std::vector<LabDayStep> LabDaySteps() {
  const std::string bo_unit_test = ActRec("C1", "3", "2", "030226", "51", "00", "10", "8", "14");
  return {
      {9, 0, "the view opens", nullptr},
      {9, 5, "Ann's first record: practice, 9 of 10",
       Appends(kRecordsFile, ActRec("C1", "3", "1", "030226", "01", "01", "10", "9", "12"), 9, 5)},
      {9, 12, "Ann fails a lesson test, 5 of 10",
       Appends(kRecordsFile, ActRec("C1", "3", "1", "030226", "01", "51", "10", "5", "7"), 9, 12)},
      {9, 14, "a second student: Bo's practice, 8 of 8",
       Appends(kRecordsFile, ActRec("P2", "3", "2", "030226", "99", "01", "8", "8", "9"), 9, 14)},
      {9, 16, "Bo's diagnostic test, all right",
       Appends(kDiagFile, DiagRec("C1", "3", "2", "030226", kKey, kKey), 9, 16)},
      {9, 29, "Ann 17 minutes and Cy 39 without a record, while Bo works", nullptr},
      {9, 30, "the erase of Cy's records is cut short",
       [](TempFolder& dir) {
         FaultyFolder faulty(&dir.folder(), -1, FaultyFolder::Mode::kCrash);
         faulty.before = [](int, const std::string& what) {
           if (what == "Sync RECORDS.DAT") throw Crash{};
         };
         try {
           (void)PurgeRecordsNow(faulty, Who(4, 1));
         } catch (const Crash&) {
         }
         SetChangeTime(dir.folder().FullPath(kRecordsFile), {kLabDay, 9, 30});
       }},
      {9, 31, "the erase is finished: the file shrinks",
       [](TempFolder& dir) {
         (void)RecoverFolder(dir.folder());
         SetChangeTime(dir.folder().FullPath(kRecordsFile), {kLabDay, 9, 31});
       }},
      {9, 33, "Bo's unit test, its first 10 bytes written",
       Appends(kRecordsFile, bo_unit_test.substr(0, 10), 9, 33)},
      {9, 34, "the other 15 bytes: passed, 8 of 10",
       Appends(kRecordsFile, bo_unit_test.substr(10), 9, 34)},
  };
}

}  // namespace quillon::testing

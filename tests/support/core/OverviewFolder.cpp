#include "support/core/OverviewFolder.h"

#include <initializer_list>

#include "support/core/Builders.h"

namespace quillon::testing {
namespace {

std::string Result(const char* test, const char* cls, const char* stu, const char* date,
                   std::initializer_list<int> wrong) {
  std::string answers = kOverviewKey;
  for (int n : wrong) answers[static_cast<std::size_t>(n - 1)] = 'x';
  return DiagRec(test, cls, stu, date, answers, kOverviewKey);
}

}  // namespace

void WriteOverviewFolder(TempFolder& dir) {
  dir.Write("LESSONS.DAT", MinimalLessons());
  dir.Write("CLASSES.DAT", ClassRec("Algebra Lab", "060", "3") + ClassRec("Geometry", "060", "5") +
                               ClassRec("Empty", "060", "6"));
  dir.Write("STUDENTS.DAT", StudentRec("Ann Baker", "1", "3") + StudentRec("Cho, Bob", "2", "3") +
                                StudentRec("Cy M\xFCller", "3", "3") +
                                StudentRec("Dee Ek", "4", "3") + StudentRec("Zoe", "1", "5"));
  std::initializer_list<int> all = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
  dir.Write("Diag.dat",
            Result("C1", "3", "1", "112026", {1, 2, 30}) + Result("C1", "3", "4", "000000", {30}) +
                Result("C1", "3", "4", "081526", {17, 18, 19, 20, 21, 22, 23, 30}) +
                Result("C1", "3", "2", "110226", {5, 6, 7, 16, 26, 30}) +
                Result("C1", "5", "1", "100126", all) + Result("c1", "3", "1", "100626", {}) +
                Result("C1", "3", "3", "092026", {6, 7, 15, 16, 27, 30}) +
                Result("C1", "3", "9", "101526", {7, 13, 14, 15, 16, 26, 27, 30}) +
                Result("C1", "3", "1", "100526", {4, 5, 6, 7, 30}) +
                Result("C2", "3", "2", "110326", {19, 21, 27, 28, 29}));
}

}  // namespace quillon::testing

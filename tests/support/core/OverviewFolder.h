// The hand-worked program folder of the class overview tests (core, command
// line and window): class 3 "Algebra Lab" and its diagnostic results, each
// chosen for one rule of the overview. Its figures are worked out by hand
// in each test that uses it.
#pragma once

#include <string>

#include "support/core/TempFolder.h"

namespace quillon::testing {

// The answer key of every result; a wrong answer is 'x'.
inline constexpr char kOverviewKey[] = "ABCDEABCDEABCDEABCDEABCDEABCDE";

// Writes LESSONS.DAT, CLASSES.DAT, STUDENTS.DAT and Diag.dat. Class 3's
// roster: 1 "Ann Baker", 2 "Cho, Bob", 3 "Cy M\xFCller" (Latin-1),
// 4 "Dee Ek"; student 9 is not on it. Diag.dat, in file order (wrong problems):
//   1  C1 3/1 11/20/26  1 2 30                      Ann, an earlier result by place
//   2  C1 3/4 "000000"  30                          Dee, no date
//   3  C1 3/4 08/15/26  17-23 30                    Dee, before September
//   4  C1 3/2 11/02/26  5 6 7 16 26 30              Bob
//   5  C1 5/1 10/01/26  all                         another class
//   6  c1 3/1 10/06/26  -                           Ann, a test code not known
//   7  C1 3/3 09/20/26  6 7 15 16 27 30             Cy
//   8  C1 3/9 10/15/26  7 13 14 15 16 26 27 30      student 9, not on the roster
//   9  C1 3/1 10/05/26  4 5 6 7 30                  Ann, her last result
//   10 C2 3/2 11/03/26  19 21 27 28 29              Bob's Algebra 1 test
void WriteOverviewFolder(TempFolder& dir);

// The tab-separated overview of class 3's Pre-Algebra results from 09/01/26
// to 12/31/26, the latest result of each student: Ann's result 9 (not her
// later-dated result 1), Bob's, Cy's and student 9's. Dee's results are one
// before September and one without a date; Ann's "c1" is not scored.
// Problems 7 and 30 every student missed. Area 1 (7 problems) at 3, 4, 5
// and 6 correct rates Poor, Fair, Fair, Good (mean 18 / 4 = 4.5); area 2
// (9) at 9, 8, 7, 5 Good, Good, Fair, Poor (29 / 4 = 7.25, shown 7.3).
// Problems 26 (PA0701) and 27 (PA0303) tie at two students: the test's
// order puts 26 first, though PA0303 comes first by text. Student 9 is
// named "", first.
extern const char kOverviewRangeLatestTabs[];

}  // namespace quillon::testing

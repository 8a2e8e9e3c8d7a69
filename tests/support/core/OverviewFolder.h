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

}  // namespace quillon::testing

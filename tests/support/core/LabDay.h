// A scripted lab day for the tests of Lab Now, the class summary's refresh
// and `quillon-cli watch`: two classes, three students, the tutoring lessons
// appending through the folder minute by minute (a first record, a failed
// test, a second student, a diagnostic test, a student idle for 15
// minutes, an erase cut short and then finished, which shrinks the file,
// a record written in two parts). Each step sets the changed files' time
// to its own minute, so that every look tells one step from the next
// however fast the test runs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "support/core/TempFolder.h"

namespace quillon::testing {

inline constexpr Date kLabDay{2026, 3, 2};

struct LabDayStep {
  int hour = 0, minute = 0;
  const char* what;
  std::function<void(TempFolder&)> act;  // null: time only passes
};

// LESSONS.DAT, the classes "Algebra Lab" (3, passing grade 70) and
// "Geometry" (4, 60), the students Ann Lee (3/1), Bo Diaz (3/2) and Cy Moss
// (4/1), and RECORDS.DAT as the day begins: a record of Ann's of the day
// before and one of Cy's of today, last changed at 08:50.
void WriteLabDayFolder(TempFolder& dir);
// The day's steps from 09:00 on, in order.
std::vector<LabDayStep> LabDaySteps();

}  // namespace quillon::testing

// The values the windows share, owned by the application and handed to the
// windows, so that each run and each test starts fresh. What only one window
// uses lives in that window.
#pragma once

#include "data/LessonCatalogue.h"

namespace quillon {

struct SharedValues {
  // Start-up and menu.
  int InitialClassIndex = -1;  // the class list selection the task windows load with
  int DataGroup = 1;           // 1 all records, 2 tests only, 3 most recent test

  // The test passing grade (percent) of the class selected last.
  double PassingGrade = 0;

  // The records display's sort, kept for the next display and the printout.
  int SortBy = 0;         // 0 Name, 1 Percent, 2 Date, 3 Lesson
  int SortDirection = 0;  // 0 increasing, 1 decreasing

  // Loaded at start-up / filled by the student records window.
  LessonCatalogue Catalogue;
  UnitNameTable UnitTestNames;
};

}  // namespace quillon

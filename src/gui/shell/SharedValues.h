// The module-level values of the system, owned by the application and handed
// to the windows (and the command-line companion), so that each run and each
// test starts fresh.
#pragma once

#include <string>

#include "data/LessonCatalogue.h"
#include "records/PrintSetup.h"

namespace quillon {

struct SharedValues {
  // Start-up and menu.
  int InitialClassIndex = -1;  // the class list selection the task windows load with
  int DataGroup = 1;           // 1 all records, 2 tests only, 3 most recent test

  // The test passing grade (percent) of the class selected last.
  double PassingGrade = 0;

  // The results of the student name dialog.
  bool StudentDialogOK = false;
  std::string StudentDialogName;
  std::string StudentDialogPassword;

  // The records display (the sorted lines themselves live in the display
  // window's list).
  int RecordsFound = 0;
  int SortBy = 0;         // 0 Name, 1 Percent, 2 Date, 3 Lesson
  int SortDirection = 0;  // 0 increasing, 1 decreasing
  bool ReuseWorkingLists = false;
  bool SuppressSortClick = false;
  bool SuppressGroupClick = false;
  int LastDisplayClass = 0;
  int LastDisplayStudent = 0;

  // The printer's set-up of the report being printed.
  PrintLayout Print;

  // The export.
  int ExportSortOrder = 0;

  // Loaded at start-up / filled by the student records window.
  LessonCatalogue Catalogue;
  UnitNameTable UnitTestNames;
};

}  // namespace quillon

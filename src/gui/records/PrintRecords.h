// Printing the records of a class or a student: the paginated report on a
// landscape page.
#pragma once

#include <string>

#include "gui/shell/Services.h"

namespace quillon {

// Prints the records of student `studentnum` of class `classnum`
// (kAllStudents: all students of the class), sorted by name, date, course, unit and lesson in
// SortDirection, of the data group DataGroup, with the passing grade
// PassingGrade. "No records found." when there are none (the printer is not
// touched). Returns when printed, abandoned or the program ended.
void PrintRecords(Services services, int classnum, int studentnum);

}  // namespace quillon

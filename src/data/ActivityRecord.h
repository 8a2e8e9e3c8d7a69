// The activity records file RECORDS.DAT, appended by the tutoring lessons.
//
// ActivityRecord (25 characters):
//   1-2   CourseCode         "C1"-"C8", "P1"-"P7"; alternates "S1", "S4", "S6"
//   3-4   ClassNumber
//   5-6   StudentNumber
//   7-12  ActivityDate       mmddyy
//   13-14 UnitNumber         "C": unit 1-14, or 50 + unit for a unit test;
//                            "P": 99 for a lesson, other for a test
//   15-16 LessonNumber       "C": lesson 1-14, or 50 + lesson for a lesson test;
//                            "P": lesson 1-46 of the course's list
//   17-19 ProblemsAttempted
//   20-22 ProblemsCorrect
//   23-25 Minutes
#pragma once

#include <string>
#include <string_view>

#include "base/Text.h"
#include "data/LessonCatalogue.h"

namespace quillon {

inline constexpr char kRecordsFile[] = "RECORDS.DAT";

// The fields of an ActivityRecord; a short record reads as if cut off.
inline std::string_view ActivityCourseCode(std::string_view r) { return Field(r, 1, 2); }
inline int ActivityClassNumber(std::string_view r) { return ValInt(Field(r, 3, 2)); }
inline int ActivityStudentNumber(std::string_view r) { return ValInt(Field(r, 5, 2)); }
inline std::string_view ActivityDate(std::string_view r) { return Field(r, 7, 6); }  // mmddyy
inline std::string_view ActivityUnitField(std::string_view r) { return Field(r, 13, 2); }
inline std::string_view ActivityLessonField(std::string_view r) { return Field(r, 15, 2); }
inline std::string_view ActivityAttemptedField(std::string_view r) { return Field(r, 17, 3); }
inline std::string_view ActivityCorrectField(std::string_view r) { return Field(r, 20, 3); }
inline std::string_view ActivityMinutesField(std::string_view r) { return Field(r, 23, 3); }

// The eight-character title of a course code, compared in capitals ("c3" is
// "V&T-Geom"); the empty text for any other code, alternates included.
std::string CourseTitle(std::string_view code);

// "C7" for "S1", "P7" for "S4", "C8" for "S6"; any other code unchanged.
std::string NormalizeCourseCode(std::string_view code);

struct Classification {
  char kind = ' ';  // 'T' lesson test, 'U' unit test, ' ' anything else
  int unit = 0;     // without the test offset
  int lesson = 0;   // without the test offset
  bool is_test = false;
};

// Classifies a record whose course code is already normalised. Only a code
// beginning with a capital "C" has lesson and unit tests; a "P" code is a test
// when its unit field is not 99. A code beginning with any other character
// (a lowercase or corrupt code) is practice, never a test: it is shown with
// the records but never among the tests.
inline Classification ClassifyActivity(std::string_view record) {
  Classification c;
  c.unit = ValInt(ActivityUnitField(record));
  c.lesson = ValInt(ActivityLessonField(record));
  const char series = record.empty() ? ' ' : record[0];
  if (series == 'C') {
    if (c.lesson > 50) {
      c.kind = 'T';
      c.lesson -= 50;
      c.is_test = true;
    } else if (c.unit > 50) {
      c.kind = 'U';
      c.unit -= 50;
      c.is_test = true;
    }
  } else if (series == 'P') {
    c.is_test = c.unit != 99;
  }
  return c;
}

// The label of an activity. `unit` and `lesson` are the unit and lesson
// fields without test offsets; `kind` is ClassifyActivity's kind.
//   kind 'U':          "Unit Test: " + the unit name of the course digit
//   a code beginning   the lesson title of the catalogue
//   with a capital "C"
//   any other code     "Test...various prob types" unless the unit is 99,
//   ("P2", "c3", "X1") then the numbered lesson title
// A lookup outside the tables (a corrupt record, a unit test of "C8") gives
// the empty text in place of the missing name. Nothing here can stop the
// program.
std::string ActivityLabel(const LessonCatalogue& catalogue, const UnitNameTable& names,
                          std::string_view code, std::string_view unit, std::string_view lesson,
                          char kind);

}  // namespace quillon

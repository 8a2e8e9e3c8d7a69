// The 43-character working line of one activity record, and its two
// formatters with the grading rules.
//
// RecordLine:
//   1-21  StudentName    roster name field, blank-padded (21 blanks if unknown)
//   22-23 year           ActivityDate 11-12 (yy)
//   24-27 month and day  ActivityDate 7-10 (mmdd)
//   28-29 CourseCode     normalised
//   30-31 UnitNumber     unit test offset removed, two digits
//   32-33 LessonNumber   lesson test offset removed, two digits
//   34-36 ProblemsAttempted
//   37-39 ProblemsCorrect
//   40-42 Minutes
//   43    ActivityKind   'T' lesson test, 'U' unit test, ' ' otherwise
#pragma once

#include <string>
#include <string_view>

#include "base/Text.h"
#include "data/LessonCatalogue.h"

namespace quillon {

// The fields of a RecordLine; a short line reads as if cut off.
inline std::string_view LineName(std::string_view l) { return Field(l, 1, 21); }
inline std::string_view LineYymmdd(std::string_view l) { return Field(l, 22, 6); }
inline std::string_view LineMmdd(std::string_view l) { return Field(l, 24, 4); }
inline std::string_view LineYy(std::string_view l) { return Field(l, 22, 2); }
inline std::string_view LineCourseCode(std::string_view l) { return Field(l, 28, 2); }
inline std::string_view LineUnitField(std::string_view l) { return Field(l, 30, 2); }
inline std::string_view LineLessonField(std::string_view l) { return Field(l, 32, 2); }
inline std::string_view LineAttemptedField(std::string_view l) { return Field(l, 34, 3); }
inline std::string_view LineCorrectField(std::string_view l) { return Field(l, 37, 3); }
inline std::string_view LineMinutesField(std::string_view l) { return Field(l, 40, 3); }
inline char LineKind(std::string_view l) { return l.size() >= 43 ? l[42] : ' '; }
// What follows the name: date, course, unit, lesson, counts and kind.
inline std::string_view LineAfterName(std::string_view l) { return Field(l, 22, 22); }

// The lookups the formatters read.
struct TitleTables {
  const LessonCatalogue& catalogue;
  const UnitNameTable& unit_names;
};

// The RecordLine of a normalised 25-character ActivityRecord; `name` is the
// roster name field (or "" for a student not on the roster: blanks keep the
// field 21 wide).
std::string ComposeRecordLine(std::string_view record, std::string_view name);
// ComposeRecordLine into `out`, reusing its storage.
void ComposeRecordLineInto(std::string_view record, std::string_view name, std::string* out);

// The grading of one line.
struct Grading {
  int attempted = 0;
  int correct = 0;
  int minutes = 0;
  long long percent = 100;  // 100 when nothing was attempted; halves round up
  char grade = ' ';         // A/B/C/D from 5 attempted on, else blank
  bool is_test = false;     // kind 'T' or 'U'
  bool passed = false;      // tests: percent >= passing grade
};
Grading GradeRecordLine(std::string_view line, double passing_grade);

// The percent correct of a record: 100 when nothing was attempted, else
// 100 * correct / attempted rounded to a whole number, halves up (1 of 8 is
// 13, 2 of 3 is 67).
long long PercentCorrect(int attempted, int correct);

// The lesson title a line shows: for a code beginning with a capital "C",
// "Unit <u>: <name>" for a unit test and the catalogue's lesson title
// otherwise; for any other code (the "P" series) the numbered lesson when
// the unit is 99, else "Test...various prob types". Numbers outside the
// tables give the empty text.
std::string LessonTitleOf(const TitleTables& tables, std::string_view line);

// The 106-column screen line and the 111-column printed line. A number wider
// than its column is not cut and pushes the rest of the line right.
std::string FormatRecordLine(const TitleTables& tables, std::string_view line,
                             double passing_grade);
std::string FormatPrintLine(const TitleTables& tables, std::string_view line, double passing_grade);

}  // namespace quillon

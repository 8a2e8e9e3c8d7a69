// The lesson catalogue, loaded once at start-up from LESSONS.DAT, and the
// fixed unit names of the unit-test titles.
//
// LESSONS.DAT is one stream of comma- or line-separated fields (FieldReader)
// holding, in this order: units blocks of "C" courses 1-6, lesson-list blocks
// of "P" courses 1-6, the units block of "C" 7, the lesson-list block of
// "P" 7, the units block of "C" 8. Nothing after them is read.
//   units block:       heading, U (0-14), U lesson counts (0-14 each),
//                      U unit titles, then the lesson titles unit after unit
//   lesson-list block: heading, N (0-46), N lesson titles
#pragma once

#include <array>
#include <string>

#include "platform/Folder.h"

namespace quillon {

inline constexpr char kLessonsFile[] = "LESSONS.DAT";

struct LessonCatalogue {
  // [course 0-8][unit 0-14][lesson 0-14]: lesson titles of the "C" courses.
  std::array<std::array<std::array<std::string, 15>, 15>, 9> UnitLessonTitles;
  // [course 0-8][unit 0-14]: unit titles of the "C" courses.
  std::array<std::array<std::string, 15>, 9> UnitTitles;
  // [course 0-7][lesson 0-46]: lesson titles of the "P" courses.
  std::array<std::array<std::string, 47>, 8> NumberedLessonTitles;

  // Bounds-checked lookups: the empty text outside the tables.
  const std::string& UnitLesson(int course, int unit, int lesson) const;
  const std::string& NumberedLesson(int course, int lesson) const;
};

// [course 1-7][unit 1-20]: the unit names of the unit-test titles. Empty until
// FillUnitTestNames runs (the student records window fills it as it loads).
struct UnitNameTable {
  std::array<std::array<std::string, 21>, 8> names;
  // The name, or the empty text outside course 1-7, unit 1-20.
  const std::string& Name(int course, int unit) const;
};

// Sets the 65 fixed unit names.
void FillUnitTestNames(UnitNameTable* table);

// Fills `catalogue` from the LESSONS.DAT text. On failure the status names
// the file, the block and the field, and `catalogue` is left untouched.
Status ParseLessons(std::string_view text, LessonCatalogue* catalogue);

// Reads LESSONS.DAT from the program folder into `catalogue`; a missing file
// is an error.
Status LoadLessons(Folder& folder, LessonCatalogue* catalogue);

}  // namespace quillon

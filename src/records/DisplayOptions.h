// The settings of the records display and the records report: which records
// (the data group), in which order (the sort key and direction), and of whom.
// The windows' option arrays carry these values as their indexes.
#pragma once

namespace quillon {

// The records a display or a report takes.
enum class DataGroup {
  kAllRecords = 1,
  kTestsOnly = 2,
  kMostRecentTest = 3,  // the most recent test in each lesson/unit
};

// The display's sort key (see DisplaySortKey).
enum class SortBy { kName = 0, kPercent = 1, kDate = 2, kLesson = 3 };

enum class SortDirection { kIncreasing = 0, kDecreasing = 1 };

// A selection's class or student number that takes every class, or every
// student of the class.
inline constexpr int kAllClasses = -1;
inline constexpr int kAllStudents = -1;

}  // namespace quillon

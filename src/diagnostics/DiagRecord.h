// The two built-in diagnostic tests and the scoring of one Diag.dat result
// (the record layout is in data/DiagFile.h).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/DiagFile.h"
#include "platform/Folder.h"

namespace quillon {

struct DiagnosticTest {
  std::string code;                     // "C1" or "C2"
  std::string name;                     // "Pre-Algebra" or "Algebra 1"
  std::string title;                    // the report title
  std::vector<std::string> area_names;  // 34 characters each, in report order
  std::vector<int> area_counts;         // problems in each area
  std::array<int, 31> area_of{};        // [problem 1-30] -> area 1-k
  std::array<std::string, 31> lessons;  // [problem 1-30] -> LessonEntry
};

// The test of a TestCode, or nullptr for any code other than "C1" and "C2".
const DiagnosticTest* FindDiagnosticTest(std::string_view code);

// The rating of c correct in an area of n problems: "Poor", "Fair" or "Good"
// by the limits of n (3 to 10); an n outside the table rates "Poor" up to
// half and "Good" above.
const char* RateArea(int n, int c);

struct DiagnosticResult {
  const DiagnosticTest* test = nullptr;
  int class_number = 0;
  int student_number = 0;
  std::string test_date;  // characters 7-12
  std::array<char, 31> student_answer{};
  std::array<char, 31> correct_answer{};
  std::array<bool, 31> correct{};
  int number_correct = 0;
  int percent_correct = 0;
  std::vector<int> area_correct;              // per area, in order
  std::vector<std::string> area_rating;       // per area, in order
  std::vector<std::string> lessons_to_study;  // sorted, without repeats
};

// Scores one record; nullopt when its TestCode names no known test. A record
// shorter than 72 characters is read as if padded with blanks.
std::optional<DiagnosticResult> ScoreDiagnosticRecord(std::string_view record);

// The entries of the diagnostic results list of a class: for each record of
// the class, the student's roster name blank-padded or cut to 50 characters,
// then the 72-character record; sorted by the whole entry text (the window's
// sorted list). None when classnum is not above 0.
Status DiagListEntries(Folder& folder, int classnum, std::vector<std::string>* entries);
// The record an entry carries (its characters 51 to 122).
inline std::string_view DiagEntryRecord(std::string_view entry) { return Field(entry, 51, 72); }

}  // namespace quillon

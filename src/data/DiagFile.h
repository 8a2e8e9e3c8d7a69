// The diagnostic results file Diag.dat, appended by the tutoring lessons.
//
// DiagRecord (72 characters):
//   1-2   TestCode        "C1" Pre-Algebra, "C2" Algebra 1 (exact, case-sensitive)
//   3-4   ClassNumber
//   5-6   StudentNumber
//   7-12  TestDate        three two-character groups, shown as stored
//   13-42 StudentAnswers  the answer to problem n at position 12 + n
//   43-72 CorrectAnswers  the key of problem n at position 42 + n
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Text.h"

namespace quillon {

inline constexpr char kDiagFile[] = "Diag.dat";

// The fields of a DiagRecord; a short record reads as if cut off.
inline std::string_view DiagTestCode(std::string_view r) { return Field(r, 1, 2); }
inline int DiagClassNumber(std::string_view r) { return ValInt(Field(r, 3, 2)); }
inline int DiagStudentNumber(std::string_view r) { return ValInt(Field(r, 5, 2)); }
inline std::string_view DiagTestDate(std::string_view r) { return Field(r, 7, 6); }

}  // namespace quillon

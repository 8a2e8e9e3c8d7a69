#include "data/ActivityRecord.h"

namespace quillon {
namespace {

int CourseDigit(std::string_view code) {
  return code.empty() ? 0 : ValInt(code.substr(code.size() - 1));
}

}  // namespace

std::string CourseTitle(std::string_view code) {
  if (code.size() != 2) return std::string();
  const char series = code[0] == 'c' ? 'C' : code[0] == 'p' ? 'P' : code[0];
  const char digit = code[1];
  static const char* const kC[] = {"V&T-PreA", "V&T-Alg1", "V&T-Geom", "V&T-Alg2",
                                   "V&T-Trig", "V&T-Calc", "Bus Math", "Pre-Foun"};
  static const char* const kP[] = {"K&J-PreA", "K&J-Alg1", "K&J-Geom", "K&J-Alg2",
                                   "K&J-Trig", "K&J-Calc", "SAT Math"};
  if (series == 'C' && digit >= '1' && digit <= '8') return kC[digit - '1'];
  if (series == 'P' && digit >= '1' && digit <= '7') return kP[digit - '1'];
  return std::string();
}

std::string NormalizeCourseCode(std::string_view code) {
  if (code == "S1") return "C7";
  if (code == "S4") return "P7";
  if (code == "S6") return "C8";
  return std::string(code);
}

std::string ActivityLabel(const LessonCatalogue& catalogue, const UnitNameTable& names,
                          std::string_view code, std::string_view unit, std::string_view lesson,
                          char kind) {
  int d = CourseDigit(code);
  if (kind == 'U') return "Unit Test: " + names.Name(d, ValInt(unit));
  if (!code.empty() && code[0] == 'C') return catalogue.UnitLesson(d, ValInt(unit), ValInt(lesson));
  if (Val(unit) != 99) return "Test...various prob types";
  return catalogue.NumberedLesson(d, ValInt(lesson));
}

}  // namespace quillon

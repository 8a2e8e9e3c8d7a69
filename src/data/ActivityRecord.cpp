#include "data/ActivityRecord.h"

#include "shell/Text.h"

namespace quillon {
namespace {

int CourseDigit(std::string_view code) {
  return code.empty() ? 0 : ValInt(code.substr(code.size() - 1));
}

}  // namespace

std::string CourseTitle(std::string_view code) {
  static const struct {
    const char* code;
    const char* title;
  } kTitles[] = {
      {"C1", "V&T-PreA"}, {"C2", "V&T-Alg1"}, {"C3", "V&T-Geom"}, {"C4", "V&T-Alg2"},
      {"C5", "V&T-Trig"}, {"C6", "V&T-Calc"}, {"C7", "Bus Math"}, {"C8", "Pre-Foun"},
      {"P1", "K&J-PreA"}, {"P2", "K&J-Alg1"}, {"P3", "K&J-Geom"}, {"P4", "K&J-Alg2"},
      {"P5", "K&J-Trig"}, {"P6", "K&J-Calc"}, {"P7", "SAT Math"},
  };
  std::string upper = ToUpper(code);
  for (const auto& t : kTitles) {
    if (upper == t.code) return t.title;
  }
  return std::string();
}

std::string NormalizeCourseCode(std::string_view code) {
  if (code == "S1") return "C7";
  if (code == "S4") return "P7";
  if (code == "S6") return "C8";
  return std::string(code);
}

std::string NormalizeRecord(std::string_view record) {
  std::string out(record);
  if (out.size() >= 2) out.replace(0, 2, NormalizeCourseCode(record.substr(0, 2)));
  return out;
}

Classification ClassifyActivity(std::string_view record) {
  std::string r = FixWidth(record, 25);
  Classification c;
  c.unit = ValInt(std::string_view(r).substr(12, 2));
  c.lesson = ValInt(std::string_view(r).substr(14, 2));
  if (r[0] == 'C') {
    if (c.lesson > 50) {
      c.kind = 'T';
      c.lesson -= 50;
      c.is_test = true;
    } else if (c.unit > 50) {
      c.kind = 'U';
      c.unit -= 50;
      c.is_test = true;
    }
  } else if (r[0] == 'P') {
    c.is_test = c.unit != 99;
  }
  return c;
}

std::string ActivityLabel(const LessonCatalogue& catalogue, const UnitNameTable& names,
                          std::string_view code, std::string_view unit, std::string_view lesson,
                          char kind) {
  int d = CourseDigit(code);
  if (kind == 'U') return "Unit Test: " + names.Name(d, ValInt(unit));
  if (!code.empty() && code[0] == 'C') return catalogue.UnitLesson(d, ValInt(unit), ValInt(lesson));
  if (!code.empty() && code[0] == 'P') {
    if (Val(unit) != 99) return "Test...various prob types";
    return catalogue.NumberedLesson(d, ValInt(lesson));
  }
  return std::string();
}

}  // namespace quillon

#include "records/RecordLine.h"

#include <cmath>

#include "data/ActivityRecord.h"
#include "shell/Text.h"

namespace quillon {
namespace {

std::string_view Part(std::string_view line, std::size_t first, std::size_t width) {
  return first - 1 < line.size() ? line.substr(first - 1, width) : std::string_view();
}

const char* ActivityText(char kind) {
  if (kind == 'T') return "Lesson Test";
  if (kind == 'U') return "Unit Test";
  return "Practice";
}

struct Widths {
  int title, lesson, result, minutes;
  const char* result_lead;  // blanks before the grade letter
  const char* result_tail;  // blanks after it
  const char* yes;
  const char* no;
};

constexpr Widths kScreen{9, 24, 14, 3, "   ", "          ", "         Yes  ", "         No   "};
constexpr Widths kPaper{8, 27, 16, 4, "    ", "           ", "           Yes  ",
                        "           No   "};

std::string Format(const TitleTables& tables, std::string_view raw, int passing_grade,
                   const Widths& w) {
  std::string line = FixWidth(raw, 43);
  Grading g = GradeRecordLine(line, passing_grade);
  std::string out;
  out.reserve(112);
  out += FixWidth(line, 16);
  out += ' ';
  out += Part(line, 24, 4);
  out += Part(line, 22, 2);
  out += ' ';
  out += FixWidth(CourseTitle(Part(line, 28, 2)), w.title);
  out += ' ';
  out += FixWidth(LessonTitleOf(tables, line), w.lesson);
  out += "  ";
  out += FixWidth(ActivityText(line[42]), 11);
  out += ' ';
  out += RightJustify(g.attempted, 3);
  out += "  ";
  out += RightJustify(g.correct, 4);
  out += "  ";
  out += RightJustify(g.percent, 4);
  out += "  ";
  if (g.is_test) {
    out += g.passed ? w.yes : w.no;
  } else {
    out += w.result_lead;
    out += g.grade;
    out += w.result_tail;
  }
  out += RightJustify(g.minutes, w.minutes);
  return out;
}

}  // namespace

std::string ComposeRecordLine(std::string_view record, std::string_view name) {
  std::string r = FixWidth(record, 25);
  char kind = ' ';
  if (r[0] == 'C') {
    int lesson = ValInt(std::string_view(r).substr(14, 2));
    int unit = ValInt(std::string_view(r).substr(12, 2));
    if (lesson > 50) {
      kind = 'T';
      r.replace(14, 2, ZeroPad(lesson - 50, 2));
    } else if (unit > 50) {
      kind = 'U';
      r.replace(12, 2, ZeroPad(unit - 50, 2));
    }
  }
  std::string line = FixWidth(name, 21);
  line.append(r, 10, 2);  // yy
  line.append(r, 6, 4);   // mmdd
  line.append(r, 0, 2);   // course
  line.append(r, 12, 13);
  line += kind;
  return line;
}

Grading GradeRecordLine(std::string_view line, int passing_grade) {
  Grading g;
  g.attempted = ValInt(Part(line, 34, 3));
  g.correct = ValInt(Part(line, 37, 3));
  g.minutes = ValInt(Part(line, 40, 3));
  if (g.attempted != 0) {
    g.percent = static_cast<long long>(std::floor(100.0 * g.correct / g.attempted + 0.5));
  }
  if (g.attempted >= 5) {
    g.grade = g.percent >= 90 ? 'A' : g.percent >= 80 ? 'B' : g.percent >= 70 ? 'C' : 'D';
  }
  char kind = line.size() >= 43 ? line[42] : ' ';
  g.is_test = kind == 'T' || kind == 'U';
  g.passed = g.percent >= passing_grade;
  return g;
}

std::string LessonTitleOf(const TitleTables& tables, std::string_view line) {
  std::string_view code = Part(line, 28, 2);
  int d = code.size() == 2 ? ValInt(code.substr(1, 1)) : 0;
  int unit = ValInt(Part(line, 30, 2));
  int lesson = ValInt(Part(line, 32, 2));
  char kind = line.size() >= 43 ? line[42] : ' ';
  if (code.empty()) return std::string();
  if (code[0] == 'C') {
    if (kind == 'U') return "Unit " + std::to_string(unit) + ": " + tables.unit_names.Name(d, unit);
    return tables.catalogue.UnitLesson(d, unit, lesson);
  }
  if (code[0] == 'P') {
    if (unit == 99) return tables.catalogue.NumberedLesson(d, lesson);
    return "Test...various prob types";
  }
  return std::string();
}

std::string FormatRecordLine(const TitleTables& tables, std::string_view line, int passing_grade) {
  return Format(tables, line, passing_grade, kScreen);
}

std::string FormatPrintLine(const TitleTables& tables, std::string_view line, int passing_grade) {
  return Format(tables, line, passing_grade, kPaper);
}

}  // namespace quillon

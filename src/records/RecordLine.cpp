#include "records/RecordLine.h"

#include <cmath>

#include "base/Text.h"
#include "data/ActivityRecord.h"

namespace quillon {
namespace {

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
constexpr Widths kPaper{
    8, 27, 16, 4, "    ", "           ", "           Yes  ", "           No   "};

std::string_view LessonTitleView(const TitleTables& tables, std::string_view line,
                                 std::string& scratch);

void Format(const TitleTables& tables, std::string_view raw, double passing_grade, const Widths& w,
            std::string& out) {
  std::string padded;
  std::string_view line = raw;
  if (line.size() < 43) {
    padded = FixWidth(raw, 43);
    line = padded;
  }
  const Grading g = GradeRecordLine(line, passing_grade);
  out.clear();
  out.reserve(112);
  AppendFixed(out, LineName(line), 16);
  out += ' ';
  out.append(LineMmdd(line));
  out.append(LineYy(line));
  out += ' ';
  AppendFixed(out, CourseTitle(LineCourseCode(line)), static_cast<std::size_t>(w.title));
  out += ' ';
  std::string scratch;
  AppendFixed(out, LessonTitleView(tables, line, scratch), static_cast<std::size_t>(w.lesson));
  out += "  ";
  AppendFixed(out, ActivityText(LineKind(line)), 11);
  out += ' ';
  AppendRightJustified(out, g.attempted, 3);
  out += "  ";
  AppendRightJustified(out, g.correct, 4);
  out += "  ";
  AppendRightJustified(out, g.percent, 4);
  out += "  ";
  if (g.is_test) {
    out += g.passed ? w.yes : w.no;
  } else {
    out += w.result_lead;
    out += g.grade;
    out += w.result_tail;
  }
  AppendRightJustified(out, g.minutes, w.minutes);
}

}  // namespace

std::string ComposeRecordLine(std::string_view record, std::string_view name) {
  std::string line;
  ComposeRecordLineInto(record, name, &line);
  return line;
}

void ComposeRecordLineInto(std::string_view raw, std::string_view name, std::string* out) {
  std::string padded;
  std::string_view r = raw;
  if (r.size() < 25) {
    padded = FixWidth(raw, 25);
    r = padded;
  }
  char kind = ' ';
  std::string_view unit = ActivityUnitField(r), lesson = ActivityLessonField(r);
  char unit_digits[3] = {}, lesson_digits[3] = {};
  if (r[0] == 'C') {
    const int l = ValInt(lesson), u = ValInt(unit);
    // The offset taken off, written back as two digits with a leading zero.
    auto two = [](int v, char* out) {
      std::string z = ZeroPad(v, 2);
      out[0] = z[0];
      out[1] = z.size() > 1 ? z[1] : ' ';
      return std::string_view(out, 2);
    };
    if (l > 50) {
      kind = 'T';
      lesson = two(l - 50, lesson_digits);
    } else if (u > 50) {
      kind = 'U';
      unit = two(u - 50, unit_digits);
    }
  }
  std::string& line = *out;
  line.clear();
  line.reserve(43);
  line.append(name.substr(0, 21));
  if (name.size() < 21) line.append(21 - name.size(), ' ');
  const std::string_view mmddyy = ActivityDate(r);
  line.append(mmddyy.substr(4, 2));  // yy
  line.append(mmddyy.substr(0, 4));  // mmdd
  line.append(ActivityCourseCode(r));
  line.append(unit).append(lesson);
  line.append(ActivityAttemptedField(r)).append(ActivityCorrectField(r));
  line.append(ActivityMinutesField(r));
  line += kind;
}

long long PercentCorrect(int attempted, int correct) {
  if (attempted == 0) return 100;
  return static_cast<long long>(std::floor(100.0 * correct / attempted + 0.5));
}

Grading GradeRecordLine(std::string_view line, double passing_grade) {
  Grading g;
  g.attempted = ValInt(LineAttemptedField(line));
  g.correct = ValInt(LineCorrectField(line));
  g.minutes = ValInt(LineMinutesField(line));
  g.percent = PercentCorrect(g.attempted, g.correct);
  if (g.attempted >= 5) {
    g.grade = g.percent >= 90 ? 'A' : g.percent >= 80 ? 'B' : g.percent >= 70 ? 'C' : 'D';
  }
  const char kind = LineKind(line);
  g.is_test = kind == 'T' || kind == 'U';
  g.passed = g.percent >= passing_grade;
  return g;
}

namespace {

// The lesson title of a line, as a view into the tables; a unit test's title
// is composed in `scratch`.
std::string_view LessonTitleView(const TitleTables& tables, std::string_view line,
                                 std::string& scratch) {
  std::string_view code = LineCourseCode(line);
  if (code.size() != 2) return {};
  const int d = ValInt(code.substr(1, 1));
  const int unit = ValInt(LineUnitField(line));
  const int lesson = ValInt(LineLessonField(line));
  const char kind = LineKind(line);
  if (code[0] == 'C') {
    if (kind == 'U') {
      scratch = "Unit " + std::to_string(unit) + ": " + tables.unit_names.Name(d, unit);
      return scratch;
    }
    return tables.catalogue.UnitLesson(d, unit, lesson);
  }
  // Every other code is read as the numbered-lessons series.
  if (unit == 99) return tables.catalogue.NumberedLesson(d, lesson);
  return "Test...various prob types";
}

}  // namespace

std::string LessonTitleOf(const TitleTables& tables, std::string_view line) {
  std::string scratch;
  return std::string(LessonTitleView(tables, line, scratch));
}

std::string FormatRecordLine(const TitleTables& tables, std::string_view line,
                             double passing_grade) {
  std::string out;
  Format(tables, line, passing_grade, kScreen, out);
  return out;
}

std::string FormatPrintLine(const TitleTables& tables, std::string_view line,
                            double passing_grade) {
  std::string out;
  Format(tables, line, passing_grade, kPaper, out);
  return out;
}

}  // namespace quillon

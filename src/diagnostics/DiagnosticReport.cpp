#include "diagnostics/DiagnosticReport.h"

#include "base/Text.h"

namespace quillon {
namespace {

const std::string kRule69(69, '=');
const std::string kIndent(24, ' ');

std::string DateLine(std::string_view date) {
  std::string d = FixWidth(date, 6);
  return "Date:    " + d.substr(0, 2) + "/" + d.substr(2, 2) + "/" + d.substr(4, 2);
}

std::string AnswerHalf(const DiagnosticResult& r, int n) {
  return RightJustify(n, 3) + std::string(7, ' ') + r.student_answer[n] + std::string(7, ' ') +
         r.correct_answer[n] + "  " + (r.correct[n] ? "    Yes  " : "     No  ");
}

}  // namespace

std::vector<std::string> BuildDiagnosticReport(const DiagnosticResult& r, std::string_view name,
                                               bool printing) {
  const DiagnosticTest& test = *r.test;
  std::vector<std::string> lines;
  lines.reserve(90);
  lines.push_back(test.title + (printing ? "                     Page 1 of 2" : ""));
  lines.push_back(" ");
  lines.push_back("Student: " + std::string(name));
  lines.push_back(DateLine(r.test_date));
  lines.push_back(" ");
  lines.push_back("Prob  Student Correct            Prob  Student Correct");
  lines.push_back("  #    Answer  Answer Correct?     #    Answer  Answer Correct?");
  lines.push_back("====  ======= ======= ========   ====  ======= ======= ========");
  lines.push_back(" ");
  for (int row = 1; row <= 15; ++row) {
    lines.push_back(AnswerHalf(r, row) + "   " + AnswerHalf(r, row + 15));
  }
  lines.push_back(" ");
  lines.push_back("# OF PROBLEMS: 30   # CORRECT: " + RightJustify(r.number_correct, 2) +
                  "   PERCENT CORRECT: " + RightJustify(r.percent_correct, 3) + "%");
  lines.push_back(" ");
  lines.push_back(kRule69);
  lines.push_back(kIndent + "SKILL AREA ANALYSIS");
  lines.push_back(" ");
  lines.push_back("          Skill Area               # Probs   # Correct  Performance");
  lines.push_back("-------------------------------   ---------  ---------  -----------");
  for (std::size_t a = 0; a < test.area_names.size(); ++a) {
    lines.push_back(test.area_names[a] + "    " + RightJustify(test.area_counts[a], 2) +
                    std::string(8, ' ') + RightJustify(r.area_correct[a], 2) + std::string(9, ' ') +
                    r.area_rating[a]);
  }
  lines.push_back(" ");
  lines.push_back(kRule69);
  lines.push_back(" ");
  lines.push_back(kIndent + "RECOMMENDED PLAN OF STUDY");
  lines.push_back(kIndent + std::string(25, '='));
  std::string series, unit_key;
  for (const std::string& lesson : r.lessons_to_study) {
    std::string s = lesson.substr(0, 2);
    if (s != series) {
      lines.push_back(" ");
      lines.push_back(s == "PA"   ? "LESSONS TO STUDY IN PRE-ALGEBRA, VANTEL SERIES:"
                      : s == "PB" ? "LESSONS TO STUDY IN ALGEBRA 1, VANTEL SERIES:"
                                  : "LESSONS TO STUDY:");
      series = s;
    }
    std::string key = lesson.substr(6, 10);
    if (key != unit_key) {
      lines.push_back(" ");
      unit_key = key;
    }
    lines.push_back(lesson.substr(6));
  }
  return lines;
}

std::vector<std::string> BuildUnknownTestReport(std::string_view record, std::string_view name) {
  std::string r = FixWidth(record, 72);
  return {
      "Diagnostic Test Results",
      " ",
      "Student: " + std::string(name),
      DateLine(std::string_view(r).substr(6, 6)),
      " ",
      "Test code \"" + r.substr(0, 2) + "\" is not a known diagnostic test; no report can be made.",
  };
}

std::vector<std::string> ReportSeparator() {
  return {" ", std::string(94, '='), std::string(94, '='), " "};
}

std::vector<std::string> DiagnosticReportLines(std::string_view record, std::string_view name) {
  std::optional<DiagnosticResult> result = ScoreDiagnosticRecord(record);
  if (!result) return BuildUnknownTestReport(record, name);
  return BuildDiagnosticReport(*result, name, /*printing=*/false);
}

std::vector<std::vector<std::string>> DiagnosticReportPages(std::string_view record,
                                                            std::string_view name) {
  std::optional<DiagnosticResult> result = ScoreDiagnosticRecord(record);
  if (!result) return {BuildUnknownTestReport(record, name)};
  const std::vector<std::string> lines = BuildDiagnosticReport(*result, name, /*printing=*/true);
  const std::size_t k = result->test->area_names.size();
  // Lines are numbered from 1 in the layout; index = number - 1.
  std::vector<std::string> page1(lines.begin(), lines.begin() + static_cast<long>(32 + k));
  std::vector<std::string> page2;
  page2.push_back(result->test->title + "                     Page 2 of 2");
  page2.insert(page2.end(), lines.begin() + 1, lines.begin() + 5);
  page2.insert(page2.end(), lines.begin() + static_cast<long>(34 + k), lines.end());
  return {page1, page2};
}

}  // namespace quillon

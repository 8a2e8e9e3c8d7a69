#include <gtest/gtest.h>

#include "base/Text.h"
#include "diagnostics/DiagnosticReport.h"
#include "support/core/Builders.h"

namespace quillon {
namespace {

using testing::DiagRec;

const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";
const std::string kName = "Ann Baker            ";  // the roster's 21-character field
const std::string kIndent(24, ' ');

TEST(DiagnosticReportTest, C1AllCorrectWholeReport) {
  std::vector<std::string> want = {
      "Pre-Algebra Diagnostic Test Results",
      " ",
      "Student: Ann Baker            ",
      "Date:    09/15/26",
      " ",
      "Prob  Student Correct            Prob  Student Correct",
      "  #    Answer  Answer Correct?     #    Answer  Answer Correct?",
      "====  ======= ======= ========   ====  ======= ======= ========",
      " ",
      "  1       A       A      Yes      16       A       A      Yes  ",
      "  2       B       B      Yes      17       B       B      Yes  ",
      "  3       C       C      Yes      18       C       C      Yes  ",
      "  4       D       D      Yes      19       D       D      Yes  ",
      "  5       E       E      Yes      20       E       E      Yes  ",
      "  6       A       A      Yes      21       A       A      Yes  ",
      "  7       B       B      Yes      22       B       B      Yes  ",
      "  8       C       C      Yes      23       C       C      Yes  ",
      "  9       D       D      Yes      24       D       D      Yes  ",
      " 10       E       E      Yes      25       E       E      Yes  ",
      " 11       A       A      Yes      26       A       A      Yes  ",
      " 12       B       B      Yes      27       B       B      Yes  ",
      " 13       C       C      Yes      28       C       C      Yes  ",
      " 14       D       D      Yes      29       D       D      Yes  ",
      " 15       E       E      Yes      30       E       E      Yes  ",
  };
  for (const char* line : {
           " ",
           "# OF PROBLEMS: 30   # CORRECT: 30   PERCENT CORRECT: 100%",
           " ",
           "=====================================================================",
           "                        SKILL AREA ANALYSIS",
           " ",
           "          Skill Area               # Probs   # Correct  Performance",
           "-------------------------------   ---------  ---------  -----------",
           "Basic Operations with Integers         7         7         Good",
           "Basic Operations with Fractions        9         9         Good",
           "Basic Operations with Decimals         7         7         Good",
           "Other Operations with Integers         7         7         Good",
           " ",
           "=====================================================================",
           " ",
           "                        RECOMMENDED PLAN OF STUDY",
           "                        =========================",
       }) {
    want.push_back(line);
  }
  auto result = ScoreDiagnosticRecord(DiagRec("C1", "7", "3", "091526", kKey, kKey));
  ASSERT_TRUE(result);
  std::vector<std::string> got = BuildDiagnosticReport(*result, kName, false);
  EXPECT_EQ(got, want);
  EXPECT_EQ(got.size(), 41u);
  EXPECT_EQ(got[9].size(), 63u);
  EXPECT_EQ(got[32].size(), 63u);
  EXPECT_EQ(BuildDiagnosticReport(*result, kName, true)[0],
            "Pre-Algebra Diagnostic Test Results                     Page 1 of 2");
}

TEST(DiagnosticReportTest, C2AllWrongPlanOfStudy) {
  auto result =
      ScoreDiagnosticRecord(DiagRec("C2", "7", "3", "091526", std::string(30, 'x'), kKey));
  ASSERT_TRUE(result);
  std::vector<std::string> got = BuildDiagnosticReport(*result, "", false);
  ASSERT_EQ(got.size(), 87u);
  EXPECT_EQ(got[2], "Student: ");
  EXPECT_EQ(got[25], "# OF PROBLEMS: 30   # CORRECT:  0   PERCENT CORRECT:   0%");
  EXPECT_EQ(got[9].substr(33), " 16       x       A       No  ");
  EXPECT_EQ(got[23].substr(33), " 30       x       E       No  ");
  // From line 44 (index 43) on: the plan.
  std::vector<std::string> plan(got.begin() + 43, got.end());
  int headings = 0, blanks = 0, lessons = 0;
  for (const auto& l : plan) {
    if (l.rfind("LESSONS TO STUDY IN", 0) == 0)
      ++headings;
    else if (l == " ")
      ++blanks;
    else
      ++lessons;
  }
  EXPECT_EQ(headings, 2);
  EXPECT_EQ(lessons, 29);
  EXPECT_EQ(blanks, 2 + 8 + 3);  // before each heading and each unit block
  EXPECT_EQ(plan[0], " ");
  EXPECT_EQ(plan[1], "LESSONS TO STUDY IN PRE-ALGEBRA, VANTEL SERIES:");
  EXPECT_EQ(plan[2], " ");
  EXPECT_EQ(plan[3], "UNIT 1: Whole Numbers: Adding & Subtr.     LESSON - Adding Whole Numbers");
  EXPECT_EQ(plan.back(),
            "UNIT 5: Exponents and Powers               LESSON - Multiplying with Exponents");
}

TEST(DiagnosticReportTest, TotalsAreaRowsAndSeparator) {
  const std::string answers = kKey.substr(0, 23) + std::string(7, 'x');  // 23 right
  auto result = ScoreDiagnosticRecord(DiagRec("C1", "7", "3", "091526", answers, kKey));
  ASSERT_TRUE(result);
  std::vector<std::string> got = BuildDiagnosticReport(*result, kName, false);
  EXPECT_EQ(got[25], "# OF PROBLEMS: 30   # CORRECT: 23   PERCENT CORRECT:  77%");
  EXPECT_EQ(got[25].size(), 57u);
  EXPECT_EQ(got[35], "Other Operations with Integers         7         0         Poor");
  EXPECT_EQ(ReportSeparator(),
            (std::vector<std::string>{" ", std::string(94, '='), std::string(94, '='), " "}));
}

TEST(DiagnosticReportTest, PrintedPagesOfAC1Report) {
  std::string answers = kKey;
  answers[0] = 'x';
  auto pages = DiagnosticReportPages(DiagRec("C1", "7", "3", "091526", answers, kKey), kName);
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size(), 36u);  // lines 1 to 32 + 4
  EXPECT_EQ(pages[0][0], "Pre-Algebra Diagnostic Test Results                     Page 1 of 2");
  EXPECT_EQ(pages[0].back(), "Other Operations with Integers         7         7         Good");
  EXPECT_EQ(pages[1], (std::vector<std::string>{
                          "Pre-Algebra Diagnostic Test Results                     Page 2 of 2",
                          " ", "Student: Ann Baker            ", "Date:    09/15/26", " ", " ",
                          kIndent + "RECOMMENDED PLAN OF STUDY", kIndent + std::string(25, '='),
                          " ", "LESSONS TO STUDY IN PRE-ALGEBRA, VANTEL SERIES:", " ",
                          "UNIT 1: Whole Numbers: Adding & Subtr.     LESSON - Place Value"}));
}

TEST(DiagnosticReportTest, UnknownTestCodeGetsAShortReport) {
  const std::string record = DiagRec("X9", "7", "3", "091526", kKey, kKey);
  std::vector<std::string> want = {
      "Diagnostic Test Results",
      " ",
      "Student: Ann Baker            ",
      "Date:    09/15/26",
      " ",
      "Test code \"X9\" is not a known diagnostic test; no report can be made."};
  EXPECT_EQ(DiagnosticReportLines(record, kName), want);
  EXPECT_EQ(DiagnosticReportPages(record, kName), (std::vector<std::vector<std::string>>{want}));
}

}  // namespace
}  // namespace quillon

#include <gtest/gtest.h>

#include "base/Text.h"
#include "diagnostics/DiagRecord.h"
#include "store/Read.h"
#include "support/core/Builders.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::DiagRec;

const std::string kKey = "ABCDEABCDEABCDEABCDEABCDEABCDE";

// The key with the listed problems (1-30) answered wrongly.
std::string Missing(std::initializer_list<int> wrong) {
  std::string answers = kKey;
  for (int n : wrong) answers[static_cast<std::size_t>(n - 1)] = 'x';
  return answers;
}

std::string AllWrong() { return std::string(30, 'x'); }

DiagnosticResult Score(const char* test, const std::string& answers) {
  auto r = ScoreDiagnosticRecord(DiagRec(test, "7", "3", "091526", answers, kKey));
  EXPECT_TRUE(r.has_value());
  return r ? *r : DiagnosticResult();
}

TEST(ScoringTest, AllCorrectAndNoneCorrect) {
  for (const char* test : {"C1", "C2"}) {
    DiagnosticResult all = Score(test, kKey);
    EXPECT_EQ(all.number_correct, 30);
    EXPECT_EQ(all.percent_correct, 100);
    EXPECT_TRUE(all.lessons_to_study.empty());
    for (const auto& rating : all.area_rating) EXPECT_EQ(rating, "Good");
    DiagnosticResult none = Score(test, AllWrong());
    EXPECT_EQ(none.number_correct, 0);
    EXPECT_EQ(none.percent_correct, 0);
    for (const auto& rating : none.area_rating) EXPECT_EQ(rating, "Poor");
  }
  EXPECT_EQ(Score("C1", AllWrong()).lessons_to_study.size(), 30u);
  EXPECT_EQ(Score("C2", AllWrong()).lessons_to_study.size(), 29u);  // 19 and 21 share one
  EXPECT_EQ(Score("C1", kKey).area_rating.size(), 4u);
  EXPECT_EQ(Score("C2", kKey).area_rating.size(), 6u);
}

TEST(ScoringTest, PercentRoundsHalfUp) {
  const int correct[] = {0, 1, 2, 10, 20, 23, 29, 30};
  const int percent[] = {0, 3, 7, 33, 67, 77, 97, 100};
  for (int i = 0; i < 8; ++i) {
    std::string answers = AllWrong();
    for (int n = 0; n < correct[i]; ++n)
      answers[static_cast<std::size_t>(n)] = kKey[static_cast<std::size_t>(n)];
    EXPECT_EQ(Score("C1", answers).percent_correct, percent[i]) << correct[i];
  }
}

TEST(ScoringTest, C2OnlyProblemThirtyWrong) {
  DiagnosticResult r = Score("C2", Missing({30}));
  EXPECT_EQ(r.test->area_counts[3], 10);
  EXPECT_EQ(r.area_correct[3], 9);
  EXPECT_EQ(r.area_rating[3], "Good");
  ASSERT_EQ(r.lessons_to_study.size(), 1u);
  EXPECT_EQ(r.lessons_to_study[0],
            "PB0501UNIT 5: Exponents and Powers               LESSON - Multiplying with Exponents");
}

TEST(ScoringTest, AreaRatingBoundaries) {
  struct Case {
    const char* test;
    std::initializer_list<int> wrong;
    int area;
    int correct;
    const char* rating;
  } cases[] = {
      {"C1", {1, 2, 3, 4}, 0, 3, "Poor"},
      {"C1", {1, 2, 3}, 0, 4, "Fair"},
      {"C1", {1, 2}, 0, 5, "Fair"},
      {"C1", {1}, 0, 6, "Good"},
      {"C1", {8, 9, 10, 11}, 1, 5, "Poor"},
      {"C1", {8, 9}, 1, 7, "Fair"},
      {"C1", {8}, 1, 8, "Good"},
      {"C2", {10, 11}, 2, 1, "Poor"},
      {"C2", {10}, 2, 2, "Fair"},
      {"C2", {}, 2, 3, "Good"},
      {"C2", {13, 14, 15, 16, 17}, 3, 5, "Poor"},
      {"C2", {13, 14, 15}, 3, 7, "Fair"},
      {"C2", {13, 14}, 3, 8, "Good"},
      {"C2", {1, 2, 3}, 0, 1, "Poor"},
      {"C2", {1, 2}, 0, 2, "Fair"},
      {"C2", {5, 6, 7}, 1, 2, "Poor"},
      {"C2", {5, 6}, 1, 3, "Fair"},
      {"C2", {5}, 1, 4, "Good"},
  };
  for (const Case& c : cases) {
    DiagnosticResult r = Score(c.test, Missing(c.wrong));
    EXPECT_EQ(r.area_correct[static_cast<std::size_t>(c.area)], c.correct) << c.test << c.area;
    EXPECT_EQ(r.area_rating[static_cast<std::size_t>(c.area)], c.rating)
        << c.test << " area " << c.area + 1 << " with " << c.correct;
  }
}

TEST(ScoringTest, ExactCharacterComparison) {
  std::string answers = kKey;
  answers[0] = 'a';  // "a" against "A"
  answers[1] = ' ';
  std::string key = kKey;
  key[1] = ' ';  // blank against blank
  auto r = ScoreDiagnosticRecord(DiagRec("C1", "7", "3", "091526", answers, key));
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->correct[1]);
  EXPECT_TRUE(r->correct[2]);
  EXPECT_EQ(r->number_correct, 29);
}

TEST(ScoringTest, SameCodeDifferentTitlesAllStaySorted) {
  DiagnosticResult r = Score("C2", Missing({29, 27, 28}));
  ASSERT_EQ(r.lessons_to_study.size(), 3u);
  EXPECT_NE(r.lessons_to_study[0].find("Simplifying Expressions"), std::string::npos);
  EXPECT_NE(r.lessons_to_study[1].find("Solving Linear Equations"), std::string::npos);
  EXPECT_NE(r.lessons_to_study[2].find("Solving Literal Eqns and Formulas"), std::string::npos);
}

TEST(ScoringTest, LessonEntriesAsListed) {
  EXPECT_EQ(FindDiagnosticTest("C1")->lessons[1],
            "PA0101UNIT 1: Whole Numbers: Adding & Subtr.     LESSON - Place Value");
  EXPECT_EQ(FindDiagnosticTest("C1")->lessons[1].size(), 69u);
  EXPECT_EQ(FindDiagnosticTest("C2")->lessons[1],
            "PA0101UNIT 1: Whole Numbers: Adding & Subtr.     LESSON - Adding Whole Numbers");
  // The unit field of "UNIT 10: Percent" is 44 characters wide.
  EXPECT_EQ(FindDiagnosticTest("C1")->lessons[30], "PA1001UNIT 10: Percent" + std::string(28, ' ') +
                                                       "LESSON - Percents and Decimal Numbers");
  EXPECT_EQ(FindDiagnosticTest("C1")->area_counts, (std::vector<int>{7, 9, 7, 7}));
  EXPECT_EQ(FindDiagnosticTest("C2")->area_counts, (std::vector<int>{4, 5, 3, 10, 3, 5}));
  for (const auto& name : FindDiagnosticTest("C2")->area_names) EXPECT_EQ(name.size(), 34u);
}

TEST(ScoringTest, UnknownCodesAndNumberFields) {
  EXPECT_FALSE(ScoreDiagnosticRecord(DiagRec("c1", "7", "3", "091526", kKey, kKey)));
  EXPECT_FALSE(ScoreDiagnosticRecord(DiagRec("C3", "7", "3", "091526", kKey, kKey)));
  EXPECT_FALSE(ScoreDiagnosticRecord(""));
  for (const char* cls : {" 7", "07", "7 "}) {
    auto r = ScoreDiagnosticRecord(DiagRec("C1", cls, "x", "091526", kKey, kKey));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->class_number, 7);
    EXPECT_EQ(r->student_number, 0);
  }
  // A short record reads as blank-padded: the missing answers are blanks.
  auto short_one = ScoreDiagnosticRecord("C107 3091526ABC");
  ASSERT_TRUE(short_one);
  EXPECT_EQ(short_one->number_correct, 27);  // 27 blanks against 27 blanks
}

TEST(DiagFileTest, PartialRecordsAndListEntries) {
  testing::TempFolder dir;
  std::vector<std::string> none;
  EXPECT_TRUE(DiagListEntries(dir.folder(), 7, &none).ok());  // no Diag.dat: no entries
  EXPECT_TRUE(none.empty());
  EXPECT_FALSE(dir.Exists("Diag.dat"));
  dir.Write("STUDENTS.DAT",
            testing::StudentRec("Zed", "1", "7") + testing::StudentRec("Amy", "2", "7"));
  const std::string a = DiagRec("C2", "7", "1", "091526", kKey, kKey),
                    b = DiagRec("C1", " 7", "1", "091426", kKey, kKey),
                    c = DiagRec("C1", "7", "2", "091626", kKey, kKey),
                    gone = DiagRec("C1", "7", "9", "091626", kKey, kKey),
                    other = DiagRec("C1", "8", "1", "091626", kKey, kKey);
  dir.Write("Diag.dat", a + b + c + gone + other + "x");  // 5 records and 1 byte
  std::vector<std::string> records;
  ASSERT_TRUE(ReadDiagRecords(dir.folder(), &records).ok());
  EXPECT_EQ(records.size(), 5u);
  std::vector<std::string> entries;
  ASSERT_TRUE(DiagListEntries(dir.folder(), 7, &entries).ok());
  // Sorted by the whole entry: the student off the roster first, then by name,
  // then the record ("C1" before "C2").
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0], std::string(50, ' ') + gone);
  EXPECT_EQ(entries[1], FixWidth("Amy", 50) + c);
  EXPECT_EQ(entries[2], FixWidth("Zed", 50) + b);
  EXPECT_EQ(entries[3], FixWidth("Zed", 50) + a);
  EXPECT_EQ(entries[0].size(), 122u);
  testing::TempFolder two;
  two.Write("Diag.dat", std::string(145, 'C'));
  ASSERT_TRUE(ReadDiagRecords(two.folder(), &records).ok());
  EXPECT_EQ(records.size(), 2u);
}

}  // namespace
}  // namespace quillon

#include "diagnostics/DiagRecord.h"

#include <algorithm>

#include "base/Text.h"
#include "data/ClassFiles.h"
#include "data/RecordFile.h"
#include "store/Read.h"

namespace quillon {
namespace {

struct LessonRow {
  int area;
  const char* code;
  const char* unit;
  const char* lesson;
};

constexpr char kU1[] = "UNIT 1: Whole Numbers: Adding & Subtr.";
constexpr char kU2[] = "UNIT 2: Whole Numbers: Mult. & Dividing";
constexpr char kU3[] = "UNIT 3: Whole Numbers: Other Operations";
constexpr char kU4[] = "UNIT 4: Fractions & Mixed Nos: Add/Subtr";
constexpr char kU5[] = "UNIT 5: Fractions & Mixed Nos: Mult/Div";
constexpr char kU6[] = "UNIT 6: Operations With Decimals";
constexpr char kU7[] = "UNIT 7: Positive and Negative Numbers";
constexpr char kU10[] = "UNIT 10: Percent";
constexpr char kB1[] = "UNIT 1: Review of Arithmetic";
constexpr char kB3[] = "UNIT 3: Equations";
constexpr char kB5[] = "UNIT 5: Exponents and Powers";

constexpr LessonRow kPreAlgebra[30] = {
    {1, "PA0101", kU1, "Place Value"},
    {1, "PA0102", kU1, "Rounding Numbers"},
    {1, "PA0103", kU1, "Adding Whole Numbers"},
    {1, "PA0104", kU1, "Subtracting Whole Numbers"},
    {1, "PA0201", kU2, "Multiplying by Whole Numbers"},
    {1, "PA0202", kU2, "Dividing by Whole Numbers"},
    {1, "PA0203", kU2, "Word Problems"},
    {2, "PA0401", kU4, "Fractions and Mixed Numbers"},
    {2, "PA0402", kU4, "Equivalent Fractions"},
    {2, "PA0403", kU4, "Reducing Fractions to Lowest Terms"},
    {2, "PA0404", kU4, "Comparing Fractions"},
    {2, "PA0405", kU4, "Adding Fractions"},
    {2, "PA0406", kU4, "Subtracting Fractions"},
    {2, "PA0501", kU5, "Multiplying Fractions"},
    {2, "PA0502", kU5, "Dividing Fractions"},
    {2, "PA0503", kU5, "Word Problems"},
    {3, "PA0601", kU6, "Place Value and Decimal Numbers"},
    {3, "PA0602", kU6, "Comparing/Rounding Decimal Numbers"},
    {3, "PA0603", kU6, "Adding Decimal Numbers"},
    {3, "PA0604", kU6, "Subtracting Decimal Numbers"},
    {3, "PA0605", kU6, "Multiplying Decimal Numbers"},
    {3, "PA0606", kU6, "Dividing Decimal Numbers"},
    {3, "PA0607", kU6, "Word Problems"},
    {4, "PA0301", kU3, "Divisibility Rules"},
    {4, "PA0302", kU3, "Factoring Whole Numbers"},
    {4, "PA0701", kU7, "The Number Line"},
    {4, "PA0303", kU3, "Finding the GCF and LCM"},
    {4, "PA0304", kU3, "Using Exponents"},
    {4, "PA0305", kU3, "Order of Operations"},
    {4, "PA1001", kU10, "Percents and Decimal Numbers"},
};

constexpr LessonRow kAlgebra1[30] = {
    {1, "PA0101", kU1, "Adding Whole Numbers"},
    {1, "PA0102", kU1, "Subtracting Whole Numbers"},
    {1, "PA0201", kU2, "Multiplying by Whole Numbers"},
    {1, "PA0202", kU2, "Dividing by Whole Numbers"},
    {2, "PA0401", kU4, "Fractions and Mixed Numbers"},
    {2, "PA0402", kU4, "Reducing Fractions to Lowest Terms"},
    {2, "PA0403", kU4, "Adding Fractions"},
    {2, "PA0404", kU4, "Subtracting Fractions"},
    {2, "PA0501", kU5, "Multiplying Fractions"},
    {3, "PA0601", kU6, "Place Value and Decimal Numbers"},
    {3, "PA0602", kU6, "Adding Decimal Numbers"},
    {3, "PA0603", kU6, "Multiplying Decimal Numbers"},
    {4, "PA0301", kU3, "Factoring Whole Numbers"},
    {4, "PA0302", kU3, "Square Roots of Perfect Squares"},
    {4, "PA0701", kU7, "The Number Line"},
    {4, "PA0702", kU7, "Addition"},
    {4, "PA0703", kU7, "Multiplication"},
    {4, "PA0303", kU3, "Finding the GCF and LCM"},
    {4, "PB0101", kB1, "Using Exponents"},
    {4, "PA0304", kU3, "Order of Operations"},
    {4, "PB0101", kB1, "Using Exponents"},
    {5, "PA1001", kU10, "Percents and Decimal Numbers"},
    {5, "PA1002", kU10, "Using the Percent Equation"},
    {5, "PA1003", kU10, "Word Problems Involving Percent"},
    {6, "PB0102", kB1, "Variables and Expressions"},
    {6, "PB0301", kB3, "Like Terms"},
    {6, "PB0302", kB3, "Simplifying Expressions"},
    {6, "PB0302", kB3, "Solving Linear Equations"},
    {6, "PB0302", kB3, "Solving Literal Eqns and Formulas"},
    {4, "PB0501", kB5, "Multiplying with Exponents"},
};

// The unit field is 43 characters wide, 44 for "UNIT 10: Percent".
std::string LessonEntry(const LessonRow& row) {
  int width = std::string_view(row.unit) == kU10 ? 44 : 43;
  return std::string(row.code) + FixWidth(row.unit, width) + "LESSON - " + row.lesson;
}

DiagnosticTest MakeTest(const char* code, const char* name, const char* title,
                        std::vector<std::string> areas, const LessonRow (&rows)[30]) {
  DiagnosticTest t;
  t.code = code;
  t.name = name;
  t.title = title;
  t.area_names = std::move(areas);
  t.area_counts.assign(t.area_names.size(), 0);
  for (int p = 1; p <= 30; ++p) {
    t.area_of[p] = rows[p - 1].area;
    t.lessons[p] = LessonEntry(rows[p - 1]);
    ++t.area_counts[rows[p - 1].area - 1];
  }
  return t;
}

const std::vector<std::string>& AreaNames() {
  static const std::vector<std::string> kNames = {
      "Basic Operations with Integers    ", "Basic Operations with Fractions   ",
      "Basic Operations with Decimals    ", "Other Operations with Integers    ",
      "Percent                           ", "Variables, Expressions, Equations ",
  };
  return kNames;
}

}  // namespace

const DiagnosticTest* FindDiagnosticTest(std::string_view code) {
  static const DiagnosticTest kC1 =
      MakeTest("C1", "Pre-Algebra", "Pre-Algebra Diagnostic Test Results",
               {AreaNames().begin(), AreaNames().begin() + 4}, kPreAlgebra);
  static const DiagnosticTest kC2 =
      MakeTest("C2", "Algebra 1", "Algebra 1 Diagnostic Test Results", AreaNames(), kAlgebra1);
  if (code == "C1") return &kC1;
  if (code == "C2") return &kC2;
  return nullptr;
}

const char* RateArea(int n, int c) {
  // {Poor limit, Fair limit} for n = 3 to 10 problems.
  static constexpr int kLimits[8][2] = {{1, 2}, {1, 2}, {2, 3}, {3, 4},
                                        {3, 5}, {4, 6}, {5, 7}, {5, 7}};
  int poor, fair;
  if (n >= 3 && n <= 10) {
    poor = kLimits[n - 3][0];
    fair = kLimits[n - 3][1];
  } else {
    poor = n / 2;
    fair = n / 2;
  }
  if (c <= poor) return "Poor";
  if (c <= fair) return "Fair";
  return "Good";
}

std::optional<DiagnosticResult> ScoreDiagnosticRecord(std::string_view raw) {
  const std::string record = FixWidth(raw, 72);
  const DiagnosticTest* test = FindDiagnosticTest(DiagTestCode(record));
  if (test == nullptr) return std::nullopt;
  DiagnosticResult r;
  r.test = test;
  r.class_number = DiagClassNumber(record);
  r.student_number = DiagStudentNumber(record);
  r.test_date = DiagTestDate(record);
  r.area_correct.assign(test->area_names.size(), 0);
  std::vector<std::string> missed;
  for (int n = 1; n <= 30; ++n) {
    r.student_answer[n] = record[static_cast<std::size_t>(11 + n)];
    r.correct_answer[n] = record[static_cast<std::size_t>(41 + n)];
    r.correct[n] = r.student_answer[n] == r.correct_answer[n];
    if (r.correct[n]) {
      ++r.number_correct;
      ++r.area_correct[test->area_of[n] - 1];
    } else {
      missed.push_back(test->lessons[n]);
    }
  }
  r.percent_correct = static_cast<int>(r.number_correct / 30.0 * 100.0 + 0.5);
  for (std::size_t a = 0; a < r.area_correct.size(); ++a) {
    r.area_rating.emplace_back(RateArea(test->area_counts[a], r.area_correct[a]));
  }
  std::sort(missed.begin(), missed.end());
  missed.erase(std::unique(missed.begin(), missed.end()), missed.end());
  r.lessons_to_study = std::move(missed);
  return r;
}

Status DiagListEntries(Folder& folder, int classnum, std::vector<std::string>* entries) {
  entries->clear();
  if (classnum <= 0) return Status::OK();
  std::vector<std::string> records;
  Status s = ReadDiagRecords(folder, &records);
  if (!s.ok()) return s;
  Roster roster;
  s = LoadRoster(folder, &roster);
  if (!s.ok()) return s;
  for (const std::string& r : records) {
    if (DiagClassNumber(r) != classnum) continue;
    entries->push_back(FixWidth(roster.Name(classnum, DiagStudentNumber(r)), 50) + r);
  }
  std::sort(entries->begin(), entries->end());
  return Status::OK();
}

}  // namespace quillon

#include "data/LessonCatalogue.h"

#include <memory>
#include <optional>

#include "base/Text.h"
#include "data/TextFile.h"

namespace quillon {
namespace {

const std::string kEmpty;

// Reads the blocks field by field; the first fault is kept with the place
// where it happened.
class BlockReader {
 public:
  explicit BlockReader(std::string_view text) : fields_(text) {}

  bool Text(const std::string& what, std::string* out) {
    std::optional<std::string> f = fields_.Next();
    if (!f) return Fail("the file ends before " + what);
    *out = std::move(*f);
    return true;
  }

  // A count, read by the numeric rule of every number field ("12", "012"
  // and "12.0" are 12). A field with no number at all is refused rather
  // than read as 0: it means a field is missing or out of place.
  bool Count(const std::string& what, int limit, int* out) {
    std::string field;
    if (!Text(what, &field)) return false;
    const std::string where = what + " (line " + std::to_string(fields_.line()) + ") is ";
    const std::size_t digit = field.find_first_of("0123456789");
    if (digit == std::string::npos || field.find_first_not_of(" +-.", 0) < digit) {
      return Fail(where + "\"" + field + "\", not a number");
    }
    *out = ValInt(field);
    if (*out < 0 || *out > limit) {
      return Fail(where + field + ", not a count from 0 to " + std::to_string(limit));
    }
    return true;
  }

  bool Fail(std::string what) {
    error_ = std::move(what);
    return false;
  }
  const std::string& error() const { return error_; }

 private:
  FieldReader fields_;
  std::string error_;
};

bool ReadUnitsBlock(BlockReader& in, int course, LessonCatalogue& c) {
  const std::string block = "the units block of course C" + std::to_string(course) + ": ";
  std::string heading;
  int units = 0;
  if (!in.Text(block + "its heading", &heading)) return false;
  if (!in.Count(block + "the number of units", 14, &units)) return false;
  int lessons[15] = {};
  for (int u = 1; u <= units; ++u) {
    if (!in.Count(block + "the lesson count of unit " + std::to_string(u), 14, &lessons[u])) {
      return false;
    }
  }
  for (int u = 1; u <= units; ++u) {
    if (!in.Text(block + "the title of unit " + std::to_string(u), &c.UnitTitles[course][u])) {
      return false;
    }
  }
  for (int u = 1; u <= units; ++u) {
    for (int l = 1; l <= lessons[u]; ++l) {
      if (!in.Text(
              block + "the title of lesson " + std::to_string(l) + " of unit " + std::to_string(u),
              &c.UnitLessonTitles[course][u][l])) {
        return false;
      }
    }
  }
  return true;
}

bool ReadLessonListBlock(BlockReader& in, int course, LessonCatalogue& c) {
  const std::string block = "the lesson list of course P" + std::to_string(course) + ": ";
  std::string heading;
  int count = 0;
  if (!in.Text(block + "its heading", &heading)) return false;
  if (!in.Count(block + "the number of lessons", 46, &count)) return false;
  for (int n = 1; n <= count; ++n) {
    if (!in.Text(block + "the title of lesson " + std::to_string(n),
                 &c.NumberedLessonTitles[course][n])) {
      return false;
    }
  }
  return true;
}

}  // namespace

const std::string& LessonCatalogue::UnitLesson(int course, int unit, int lesson) const {
  if (course < 0 || course > 8 || unit < 0 || unit > 14 || lesson < 0 || lesson > 14) return kEmpty;
  return UnitLessonTitles[course][unit][lesson];
}

const std::string& LessonCatalogue::NumberedLesson(int course, int lesson) const {
  if (course < 0 || course > 7 || lesson < 0 || lesson > 46) return kEmpty;
  return NumberedLessonTitles[course][lesson];
}

const std::string& UnitNameTable::Name(int course, int unit) const {
  if (course < 1 || course > 7 || unit < 1 || unit > 20) return kEmpty;
  return names[course][unit];
}

void FillUnitTestNames(UnitNameTable* table) {
  static const char* const kNames[8][13] = {
      {},
      {"Whole Nos: Add. and Subtr.", "Whole Nos: Mult. and Div.", "Whole Nos: Other Operations",
       "Frac. & Mixed Nos: Add/Subtr", "Frac. & Mixed Nos: Mult/Div", "Operations With Decimals",
       "Pos. and Neg. Numbers", "Expressions and Formulas", "Equations", "Percent", "Inequalities",
       "Ratio and Proportion"},
      {"Review of Arithmetic", "Fundamental Operations", "Equations", "Solving Word Problems",
       "Exponents and Powers", "Polynomials", "Factoring", "Graphs & Linear Equations",
       "Sys. of Linear Equations", "Inequalities", "Radicals", "Quadratic Equations"},
      {"Basic Elements", "Intersecting and Parallel Lines", "Triangles and Triangle Congruence",
       "Quadrilaterals", "Right Triangles", "Circles", "Areas and Perimeters",
       "Adv. Triangles and Trigonometry", "The Language of Theorems", "Introduction to Proofs",
       "The Basic Elements of a Proof", "Proof Demonstrations And Problems"},
      {"Review of Algebra", "Equations and Inequalities", "Linear Equations",
       "Systems of Equations", "Polynomials and Factoring", "Roots and Radicals",
       "Quadratic Equations and Functions", "Conic Sections",
       "Exponential and Logarithmic Functions"},
      {"Trigonometric Functions", "Identities, Formulas, Equations", "Right Triangles",
       "Series and Progressions", "Probability"},
      {"Prerequisites for Calculus", "Introducing Differential Calculus",
       "More Differential Calculus", "Introducing Integral Calculus", "More Integral Calculus",
       "Trig., Exponential, Log Functions", "Advanced Topics"},
      {"Review of Basic Math Skills", "Percents, Decimals, and Fractions", "Income and Wages I",
       "Income and Wages II", "Federal, State, and Other Taxes", "Checking Accounts",
       "Savings Accounts", "Cash Purchases & Comparison Shopping"},
  };
  *table = UnitNameTable();
  for (int c = 1; c <= 7; ++c) {
    for (int u = 0; u < 12 && kNames[c][u] != nullptr; ++u) table->names[c][u + 1] = kNames[c][u];
  }
}

Status ParseLessons(std::string_view text, LessonCatalogue* catalogue) {
  auto filled = std::make_unique<LessonCatalogue>();
  BlockReader in(text);
  bool ok = true;
  for (int c = 1; ok && c <= 6; ++c) ok = ReadUnitsBlock(in, c, *filled);
  for (int c = 1; ok && c <= 6; ++c) ok = ReadLessonListBlock(in, c, *filled);
  ok = ok && ReadUnitsBlock(in, 7, *filled);
  ok = ok && ReadLessonListBlock(in, 7, *filled);
  ok = ok && ReadUnitsBlock(in, 8, *filled);
  if (!ok) return Status::Error(kLessonsFile, in.error());
  *catalogue = std::move(*filled);
  return Status::OK();
}

Status LoadLessons(Folder& folder, LessonCatalogue* catalogue) {
  // The read names the real cause (no permission, not an ordinary file);
  // nothing read and no file there means it is missing.
  std::string text;
  Status s = folder.ReadFile(kLessonsFile, &text);
  if (!s.ok()) return s;
  if (text.empty() && !folder.FileExists(kLessonsFile)) {
    return Status::Error(kLessonsFile, "the lesson catalogue is missing from the program folder");
  }
  return ParseLessons(text, catalogue);
}

}  // namespace quillon

#include "diagnostics/ClassOverviewText.h"

#include "base/Text.h"
#include "records/SummaryText.h"

namespace quillon {
namespace {

constexpr char kLessonMark[] = "LESSON - ";

// The parts of a lesson entry: code, unit title, lesson title.
std::string LessonCode(const std::string& entry) { return entry.substr(0, 6); }
std::string LessonUnit(const std::string& entry) {
  const std::size_t at = entry.find(kLessonMark, 6);
  return TrimRight(entry.substr(6, at == std::string::npos ? std::string::npos : at - 6));
}
std::string LessonTitle(const std::string& entry) {
  const std::size_t at = entry.find(kLessonMark, 6);
  return at == std::string::npos ? std::string() : entry.substr(at + sizeof kLessonMark - 1);
}

std::string Counted(long long n, const char* thing) {
  return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

std::string Names(const ReteachFigures& row) {
  std::string names;
  for (const OverviewStudent& s : row.students) {
    if (&s != &row.students.front()) names += "; ";
    names += s.name;
  }
  return names;
}

std::string Join(const std::vector<std::string>& cells, const char* between) {
  std::string line;
  for (std::size_t c = 0; c < cells.size(); ++c) line += (c ? between : "") + cells[c];
  return line;
}

std::string JsonText(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

// The printed columns: `text` left-justified or a number right-justified.
std::string Left(const std::string& text, int width) { return FixWidth(text, width); }
std::string Right(const std::string& text, int width) {
  const int pad = width - static_cast<int>(text.size());
  return std::string(static_cast<std::size_t>(pad > 0 ? pad : 0), ' ') + text;
}

// `names` in lines of at most `width` characters after `indent` blanks,
// broken after a "; ".
std::vector<std::string> Wrapped(const ReteachFigures& row, std::size_t indent, std::size_t width) {
  std::vector<std::string> lines;
  std::string line;
  for (const OverviewStudent& s : row.students) {
    const bool last = &s == &row.students.back();
    const std::string piece = s.name + (last ? "" : ";");
    if (!line.empty() && line.size() + 1 + piece.size() > width) {
      lines.push_back(std::string(indent, ' ') + line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + piece;
  }
  if (!line.empty()) lines.push_back(std::string(indent, ' ') + line);
  return lines;
}

}  // namespace

std::array<OverviewTable, 3> OverviewTables(const ClassOverview& o) {
  std::array<OverviewTable, 3> tables;
  tables[kProblemsTable] = {"Problems",
                            {"Problem", "Area", "Wrong", "Of", "Wrong %", "Lesson", "Lesson title"},
                            {true, true, true, true, true, false, false},
                            {}};
  tables[kAreasTable] = {"Skill Areas",
                         {"Area", "Skill area", "Problems", "Poor", "Fair", "Good", "Mean correct"},
                         {true, false, true, true, true, true, true},
                         {}};
  tables[kReteachTable] = {"Lessons to Reteach",
                           {"Lesson", "Lesson title", "Unit", "Students", "Of", "Names"},
                           {false, false, false, true, true, false},
                           {}};
  if (o.test == nullptr || o.results == 0) return tables;
  const DiagnosticTest& test = *o.test;
  for (int p = 1; p <= 30; ++p) {
    const int wrong = o.wrong[static_cast<std::size_t>(p)];
    const std::string& lesson = test.lessons[static_cast<std::size_t>(p)];
    tables[kProblemsTable].rows.push_back(
        {std::to_string(p), std::to_string(test.area_of[static_cast<std::size_t>(p)]),
         std::to_string(wrong), std::to_string(o.results),
         std::to_string(PercentOf(wrong, o.results)), LessonCode(lesson), LessonTitle(lesson)});
  }
  for (std::size_t a = 0; a < o.areas.size(); ++a) {
    const AreaFigures& area = o.areas[a];
    tables[kAreasTable].rows.push_back(
        {std::to_string(a + 1), TrimRight(test.area_names[a]), std::to_string(test.area_counts[a]),
         std::to_string(area.poor), std::to_string(area.fair), std::to_string(area.good),
         MeanText(area.correct, o.results)});
  }
  for (const ReteachFigures& row : o.reteach) {
    const std::string& lesson = test.lessons[static_cast<std::size_t>(row.problem)];
    tables[kReteachTable].rows.push_back({LessonCode(lesson), LessonTitle(lesson),
                                          LessonUnit(lesson), std::to_string(row.students.size()),
                                          std::to_string(o.students), Names(row)});
  }
  return tables;
}

std::string OverviewTestName(const ClassOverview& o) {
  if (o.test == nullptr) return "\"" + o.request.test_code + "\"";
  return o.test->name + " (" + o.test->code + ")";
}

std::string OverviewCounts(const ClassOverview& o) {
  return Counted(o.results, "result") + " of " + Counted(o.students, "student") +
         (o.request.latest_only ? ", the latest result of each" : ", all results");
}

std::string OverviewLeftOut(const ClassOverview& o) {
  std::vector<std::string> parts;
  if (o.not_scored > 0)
    parts.push_back(Counted(o.not_scored, "result") + " not scored (test code not known)");
  if (o.without_date > 0) parts.push_back(Counted(o.without_date, "result") + " without a date");
  return parts.empty() ? std::string() : "Left out: " + Join(parts, ", ");
}

std::string OverviewHeading(const ClassOverview& o, const std::string& class_name) {
  std::string line = class_name + "   /   " + OverviewTestName(o) +
                     "   /   Dates: " + RangeText(o.request.range) + "   /   " + OverviewCounts(o);
  const std::string left_out = OverviewLeftOut(o);
  return left_out.empty() ? line : line + "   /   " + left_out;
}

std::string OverviewTabLines(const ClassOverview& o, const std::string& class_name) {
  std::string out = OverviewHeading(o, class_name) + "\n";
  for (const OverviewTable& table : OverviewTables(o)) {
    out += "\n" + table.title + "\n" + Join(table.headings, "\t") + "\n";
    for (const auto& row : table.rows) out += Join(row, "\t") + "\n";
  }
  return out;
}

std::string OverviewCsv(const ClassOverview& o, const std::string& class_name) {
  const SummaryRange& range = o.request.range;
  std::string out = "\xEF\xBB\xBF";
  out += "Class Overview\r\n";
  out +=
      "Class,Test,Test name,Results,Students,Latest result of each student,From,To,"
      "Not scored,Without a date\r\n";
  out += Join({CsvText(class_name), CsvText(o.request.test_code),
               CsvText(o.test ? o.test->name : std::string()), std::to_string(o.results),
               std::to_string(o.students), o.request.latest_only ? "yes" : "no",
               range.from ? DayKeyIso(*range.from) : "", range.to ? DayKeyIso(*range.to) : "",
               std::to_string(o.not_scored), std::to_string(o.without_date)},
              ",") +
         "\r\n";
  for (const OverviewTable& table : OverviewTables(o)) {
    out += "\r\n" + CsvText(table.title) + "\r\n" + Join(table.headings, ",") + "\r\n";
    for (const auto& row : table.rows) {
      std::vector<std::string> cells;
      for (std::size_t c = 0; c < row.size(); ++c) {
        cells.push_back(table.numeric[c] ? row[c] : CsvText(row[c]));
      }
      out += Join(cells, ",") + "\r\n";
    }
  }
  return out;
}

std::string OverviewJson(const ClassOverview& o, const std::string& class_name) {
  const SummaryRange& range = o.request.range;
  auto day = [](const std::optional<int>& key) {
    return key ? "\"" + DayKeyIso(*key) + "\"" : std::string("null");
  };
  std::string out = "{\n";
  out += "  \"class\": " + std::to_string(o.request.classnum) + ",\n";
  out += "  \"class_name\": " + JsonText(class_name) + ",\n";
  out += "  \"test\": " + JsonText(o.request.test_code) + ",\n";
  out += "  \"test_name\": " + JsonText(o.test ? o.test->name : std::string()) + ",\n";
  out += std::string("  \"latest_only\": ") + (o.request.latest_only ? "true" : "false") + ",\n";
  out += "  \"from\": " + day(range.from) + ",\n";
  out += "  \"to\": " + day(range.to) + ",\n";
  out += "  \"results\": " + std::to_string(o.results) + ",\n";
  out += "  \"students\": " + std::to_string(o.students) + ",\n";
  out += "  \"not_scored\": " + std::to_string(o.not_scored) + ",\n";
  out += "  \"without_date\": " + std::to_string(o.without_date) + ",\n";
  static const std::array<std::pair<const char*, std::vector<const char*>>, 3> kKeys = {{
      {"problems", {"problem", "area", "wrong", "of", "percent", "lesson", "lesson_title"}},
      {"areas", {"area", "skill_area", "problems", "poor", "fair", "good", "mean_correct"}},
      {"reteach", {"lesson", "lesson_title", "unit", "students", "of", "names"}},
  }};
  const std::array<OverviewTable, 3> tables = OverviewTables(o);
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const OverviewTable& table = tables[t];
    const auto& [name, keys] = kKeys[t];
    out += std::string("  \"") + name + "\": [";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      out += r ? ",\n    {" : "\n    {";
      for (std::size_t c = 0; c < keys.size(); ++c) {
        out += std::string(c ? ", " : "") + "\"" + keys[c] + "\": ";
        if (t == kReteachTable && c == keys.size() - 1) {
          std::vector<std::string> names;
          for (const OverviewStudent& s : o.reteach[r].students) names.push_back(JsonText(s.name));
          out += "[" + Join(names, ", ") + "]";
        } else {
          out += table.numeric[c] ? table.rows[r][c] : JsonText(table.rows[r][c]);
        }
      }
      out += "}";
    }
    out += table.rows.empty() ? "]" : "\n  ]";
    out += t + 1 < tables.size() ? ",\n" : "\n";
  }
  return out + "}\n";
}

std::vector<std::string> OverviewPageHeadings(const ClassOverview& o, const std::string& class_name,
                                              int printed_on, int page) {
  std::vector<std::string> lines = {
      "CLASS OVERVIEW: " + class_name + "   /   " + OverviewTestName(o) + "   /   Page " +
          std::to_string(page),
      "Dates: " + RangeText(o.request.range) + "   /   Printed " + DayKeyText(printed_on),
      OverviewCounts(o)};
  const std::string left_out = OverviewLeftOut(o);
  if (!left_out.empty()) lines.push_back(left_out);
  lines.push_back("");
  return lines;
}

std::array<PrintedTable, 3> OverviewPrintedTables(const ClassOverview& o) {
  const std::array<OverviewTable, 3> tables = OverviewTables(o);
  std::array<PrintedTable, 3> printed;

  PrintedTable& problems = printed[kProblemsTable];
  problems.headings = {"PROBLEMS", "Prob  Area  Wrong    Of  Wrong %  Lesson",
                       "----  ----  -----  ----  -------  " + std::string(41, '-')};
  bool marked = false;
  for (const auto& row : tables[kProblemsTable].rows) {
    const bool most = MostMissed(o, std::stoi(row[0]));
    marked = marked || most;
    problems.rows.push_back({Right(row[0], 4) + "  " + Right(row[1], 4) + "  " + Right(row[2], 5) +
                             "  " + Right(row[3], 4) + "  " + Right(row[4] + "%", 7) +
                             (most ? "* " : "  ") + row[5] + " " + row[6]});
  }
  if (marked) problems.rows.push_back({"", "* Missed by half the results or more."});

  PrintedTable& areas = printed[kAreasTable];
  areas.headings = {
      "SKILL AREAS",
      "Area  " + Left("Skill area", 33) + "  Problems  Poor  Fair  Good  Mean correct",
      "----  " + std::string(33, '-') + "  --------  ----  ----  ----  ------------"};
  for (const auto& row : tables[kAreasTable].rows) {
    areas.rows.push_back({Right(row[0], 4) + "  " + Left(row[1], 33) + "  " + Right(row[2], 8) +
                          "  " + Right(row[3], 4) + "  " + Right(row[4], 4) + "  " +
                          Right(row[5], 4) + "  " + Right(row[6], 12)});
  }

  PrintedTable& reteach = printed[kReteachTable];
  reteach.headings = {"LESSONS TO RETEACH", "Lesson  " + Left("Lesson title", 34) + "  Students",
                      "------  " + std::string(34, '-') + "  " + std::string(20, '-')};
  for (std::size_t r = 0; r < o.reteach.size(); ++r) {
    const auto& row = tables[kReteachTable].rows[r];
    std::vector<std::string> lines = {Left(row[0], 6) + "  " + Left(row[1], 34) + "  " + row[3] +
                                      " of " + Counted(o.students, "student")};
    for (std::string& names : Wrapped(o.reteach[r], 8, 80)) lines.push_back(std::move(names));
    reteach.rows.push_back(std::move(lines));
  }
  return printed;
}

}  // namespace quillon

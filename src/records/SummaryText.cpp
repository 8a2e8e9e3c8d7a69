// The class summary's texts: one cell rule for the screen, the paper, the
// command line and the CSV file, so that all four agree.
#include "records/SummaryText.h"

#include "base/Text.h"
#include "base/TextEncoding.h"

namespace quillon {
namespace {

std::string Number(const std::optional<long long>& value) {
  return value ? std::to_string(*value) : std::string();
}

// The printed columns: the name left-justified, the figures right-justified.
constexpr int kPrintWidths[kSummaryColumns] = {21, 6, 7, 7, 10, 9, 11, 8, 10, 11};

std::string PrintedRow(const std::vector<std::string>& cells) {
  std::string line;
  for (int c = 0; c < kSummaryColumns; ++c) {
    const std::string& cell = cells[static_cast<std::size_t>(c)];
    const int width = kPrintWidths[c];
    if (c == kColumnStudent) {
      AppendFixed(line, cell, static_cast<std::size_t>(width));
    } else {
      const int pad = width - static_cast<int>(cell.size());
      line.append(static_cast<std::size_t>(pad > 0 ? pad : 1), ' ');
      line += cell;
    }
  }
  return line;
}

}  // namespace

std::string CsvText(std::string_view bytes) {
  std::string text = Latin1ToUtf8(bytes);
  if (!text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos) {
    text.insert(0, "'");
  }
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::vector<std::string> NeedsHelpTopics(const TitleTables& tables,
                                         const std::vector<std::string>& help_lines,
                                         double passing_grade) {
  std::vector<std::string> topics;
  for (const std::string& line : help_lines) {
    std::string title = Trim(LessonTitleOf(tables, line));
    if (title.empty()) {
      title = std::string(LineCourseCode(line)) + " unit " + Trim(LineUnitField(line)) +
              ", lesson " + Trim(LineLessonField(line));
    }
    const std::string_view mmdd = LineMmdd(line);
    topics.push_back(title + " (" + std::to_string(GradeRecordLine(line, passing_grade).percent) +
                     "% on " + std::string(mmdd.substr(0, 2)) + "/" +
                     std::string(mmdd.substr(2, 2)) + "/" + std::string(LineYy(line)) + ")");
  }
  return topics;
}

std::string SummaryCell(const SummaryRow& row, int column, DateStyle dates) {
  switch (column) {
    case kColumnStudent:
      return row.name;
    case kColumnTests:
      return std::to_string(row.tests);
    case kColumnPassed:
      return std::to_string(row.passed);
    case kColumnFailed:
      return std::to_string(row.failed);
    case kColumnAverage:
      return Number(row.average);
    case kColumnPractice:
      return std::to_string(row.practice);
    case kColumnPracticePercent:
      return Number(row.practice_percent);
    case kColumnMinutes:
      return std::to_string(row.minutes);
    case kColumnLastWork:
      if (!row.last_work) return std::string();
      return dates == DateStyle::kIso ? DayKeyIso(*row.last_work) : DayKeyText(*row.last_work);
    case kColumnNeedsHelp:
      return std::to_string(row.needs_help);
    default:
      return std::string();
  }
}

std::string SummaryTabLines(const std::vector<SummaryRow>& rows) {
  std::string out;
  for (int c = 0; c < kSummaryColumns; ++c) {
    out += (c ? "\t" : "");
    out += kSummaryHeadings[static_cast<std::size_t>(c)];
  }
  out += '\n';
  for (const SummaryRow& row : rows) {
    for (int c = 0; c < kSummaryColumns; ++c) {
      out += (c ? "\t" : "");
      out += SummaryCell(row, c, DateStyle::kSlashes);
    }
    out += '\n';
  }
  return out;
}

std::string SummaryCsv(const std::vector<SummaryRow>& rows) {
  std::string out = "\xEF\xBB\xBF";
  for (int c = 0; c < kSummaryColumns; ++c) {
    out += (c ? "," : "");
    out += kSummaryHeadings[static_cast<std::size_t>(c)];
  }
  out += "\r\n";
  for (const SummaryRow& row : rows) {
    out += CsvText(row.name);
    for (int c = 1; c < kSummaryColumns; ++c) out += "," + SummaryCell(row, c, DateStyle::kIso);
    out += "\r\n";
  }
  return out;
}

std::string RangeText(const SummaryRange& range) {
  if (range.from && range.to) return DayKeyText(*range.from) + " to " + DayKeyText(*range.to);
  if (range.from) return "from " + DayKeyText(*range.from);
  if (range.to) return "to " + DayKeyText(*range.to);
  return "all dates";
}

std::vector<std::string> SummaryPageHeadings(const std::string& class_name, double passing_grade,
                                             const SummaryRange& range, int printed_on, int page) {
  std::vector<std::string> headings(kSummaryHeadings.begin(), kSummaryHeadings.end());
  std::vector<std::string> rules;
  for (int c = 0; c < kSummaryColumns; ++c) {
    const std::size_t n = headings[static_cast<std::size_t>(c)].size();
    rules.push_back(std::string(c == kColumnStudent ? 16 : n, '-'));
  }
  // Two title lines, so that the longest class name and range fit the
  // landscape page with the page number.
  return {"CLASS SUMMARY: " + class_name +
              "   /   Test Passing Grade: " + GeneralNumber(passing_grade) + "%",
          "Dates: " + RangeText(range) + "   /   Printed " + DayKeyText(printed_on) +
              "   /   Page " + std::to_string(page),
          "", PrintedRow(headings), PrintedRow(rules)};
}

std::string SummaryCsvName(const std::string& class_name, const SummaryRange& range) {
  std::string dates;
  if (range.from && range.to) {
    dates = DayKeyIso(*range.from) + " to " + DayKeyIso(*range.to);
  } else if (range.from) {
    dates = "from " + DayKeyIso(*range.from);
  } else if (range.to) {
    dates = "to " + DayKeyIso(*range.to);
  } else {
    dates = "all dates";
  }
  std::string name = "Class summary - " + Trim(class_name) + " - " + dates + ".csv";
  // Characters no folder (a Windows share's included) takes in a file name.
  for (char& c : name) {
    if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos ||
        static_cast<unsigned char>(c) < 32) {
      c = '-';
    }
  }
  return name;
}

std::string SummaryPrintedRow(const SummaryRow& row) {
  std::vector<std::string> cells;
  for (int c = 0; c < kSummaryColumns; ++c) {
    cells.push_back(SummaryCell(row, c, DateStyle::kSlashes));
  }
  return PrintedRow(cells);
}

}  // namespace quillon

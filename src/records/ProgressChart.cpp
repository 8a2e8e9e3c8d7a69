// One student's progress chart: its figures from the record lines, and the
// picture of them.
#include "records/ProgressChart.h"

#include <algorithm>
#include <map>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "records/RecordLine.h"
#include "records/SummaryText.h"

namespace quillon {
namespace {

// The DayKey of a day number (days from 1970-01-01).
int KeyOfDayNumber(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const long long d = doy - (153 * mp + 2) / 5 + 1;
  const long long m = mp < 10 ? mp + 3 : mp - 9;
  const long long y = yoe + era * 400 + (m <= 2);
  return DayKey(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d));
}

// The day number of the Monday of a day's week.
long long MondayOf(int key) {
  const long long d = DayNumber(key);
  return d - ((d + 3) % 7 + 7) % 7;  // 1970-01-01 was a Thursday
}

}  // namespace

ProgressData StudentProgress(const WorkingLists& lists, const TitleTables& tables,
                             const SummaryRequest& request, int studentnum,
                             const std::string& student_name) {
  ProgressData data;
  data.student = student_name;
  data.passing_grade = request.passing_grade;
  std::map<long long, long long> minutes;  // by Monday's day number
  std::string line;
  const RecordList all = lists.lstRecords1();
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string_view r = all[i];
    if (ActivityClassNumber(r) != request.classnum || ActivityStudentNumber(r) != studentnum) {
      continue;
    }
    const int day = RecordDayKey(r);
    if (!request.range.Contains(day)) continue;
    ComposeRecordLineInto(r, "", &line);
    const Grading g = GradeRecordLine(line, request.passing_grade);
    long long& week = minutes[MondayOf(day)];
    if (g.is_test) {
      data.points.push_back({day, g.percent, g.passed, LessonTitleOf(tables, line)});
    } else {
      week += g.minutes;
    }
  }
  std::vector<std::string> failed;
  for (std::string_view test : LatestTestsInRange(lists, request, studentnum)) {
    ComposeRecordLineInto(test, "", &line);
    const Grading g = GradeRecordLine(line, request.passing_grade);
    if (g.is_test && !g.passed) failed.push_back(line);
  }
  data.needs_help = NeedsHelpTopics(tables, failed, request.passing_grade);
  std::stable_sort(data.points.begin(), data.points.end(),
                   [](const ChartPoint& a, const ChartPoint& b) { return a.day < b.day; });
  if (!minutes.empty()) {
    for (long long d = minutes.begin()->first; d <= minutes.rbegin()->first; d += 7) {
      auto it = minutes.find(d);
      data.weeks.push_back({KeyOfDayNumber(d), it == minutes.end() ? 0 : it->second});
    }
  }
  return data;
}

namespace {

void Add(Drawing& d, Shape::Kind kind, Ink ink, double x1, double y1, double x2, double y2,
         double size = 0, std::string text = {}) {
  d.shapes.push_back({kind, ink, x1, y1, x2, y2, size, std::move(text)});
}

void Text(Drawing& d, Shape::Kind kind, double x, double y, double points, std::string text,
          Ink ink = Ink::kBlack) {
  Add(d, kind, ink, x, y, 0, 0, points, std::move(text));
}

// "Needs help: " and the topics, in lines of at most `width` characters,
// at most three: the last then says how many more there are.
std::vector<std::string> HelpLines(const std::vector<std::string>& topics, std::size_t width) {
  std::vector<std::string> lines;
  if (topics.empty()) return lines;
  std::string line = "Needs help: ";
  for (std::size_t i = 0; i < topics.size(); ++i) {
    const std::string item = topics[i] + (i + 1 < topics.size() ? ";" : "");
    if (line.size() + item.size() + 1 > width && line.size() > 12) {
      if (lines.size() == 2) {
        line += "and " + std::to_string(topics.size() - i) + " more";
        break;
      }
      lines.push_back(line);
      line = "    ";
    }
    line += (line.back() == ' ' ? "" : " ") + item;
  }
  lines.push_back(line);
  return lines;
}

}  // namespace

Drawing LayoutProgressChart(const ProgressData& data, double width, double height,
                            std::vector<PlacedPoint>* placed) {
  using K = Shape::Kind;
  Drawing d;
  d.width = width;
  d.height = height;
  if (placed) placed->clear();
  const double left = 0.8, right = width - 0.3;
  // The lessons and units that need help, in 9 points (about 0.075 inch a
  // character at most) under the legend.
  const std::vector<std::string> help =
      HelpLines(data.needs_help, static_cast<std::size_t>(std::max(20.0, (right - left) / 0.075)));
  const double plot_top = 0.85 + 0.18 * static_cast<double>(help.size());
  const double usable = std::max(1.0, height - plot_top - 0.55);
  const double plot_bottom = plot_top + usable * 0.68;
  const double bars_top = plot_bottom + 0.3, bars_bottom = height - 0.45;
  const double mark = 0.055;

  Text(d, K::kText, left, 0.3, 12, "Progress of " + data.student);
  // The legend.
  double x = left;
  Add(d, K::kDot, Ink::kPass, x + mark, 0.55, 0, 0, mark);
  Text(d, K::kText, x + 0.18, 0.59, 9, "test passed");
  x += 1.1;
  Add(d, K::kCross, Ink::kFail, x + mark, 0.55, 0, 0, mark);
  Text(d, K::kText, x + 0.18, 0.59, 9, "test failed");
  x += 1.1;
  Add(d, K::kDashedLine, Ink::kFail, x, 0.55, x + 0.35, 0.55);
  Text(d, K::kText, x + 0.45, 0.59, 9, "passing grade " + GeneralNumber(data.passing_grade) + "%");
  x += 1.9;
  Add(d, K::kBar, Ink::kBar, x, 0.49, x + 0.12, 0.61);
  Text(d, K::kText, x + 0.2, 0.59, 9, "practice minutes per week");
  for (std::size_t i = 0; i < help.size(); ++i) {
    Text(d, K::kText, left, 0.83 + 0.18 * static_cast<double>(i), 9, help[i], Ink::kFail);
  }

  // The days shown: every test and every week of practice.
  long long first = 0, last = 0;
  bool any = false;
  auto take = [&](long long day) {
    first = any ? std::min(first, day) : day;
    last = any ? std::max(last, day) : day;
    any = true;
  };
  for (const ChartPoint& p : data.points) take(DayNumber(p.day));
  for (const WeekMinutes& w : data.weeks) {
    take(DayNumber(w.monday));
    take(DayNumber(w.monday) + 7);
  }
  if (!any || last - first < 7) {
    const long long middle = any ? (first + last) / 2 : 0;
    first = middle - 4;
    last = middle + 4;
  }
  auto x_of = [&](long long day) {
    return left +
           (right - left) * static_cast<double>(day - first) / static_cast<double>(last - first);
  };
  long long top_percent = 100;
  for (const ChartPoint& p : data.points) top_percent = std::max(top_percent, p.percent);
  top_percent = (top_percent + 9) / 10 * 10;
  auto y_of = [&](double percent) {
    const double p = std::max(0.0, percent);
    return plot_bottom - (plot_bottom - plot_top) * p / static_cast<double>(top_percent);
  };

  // The percent axis and its grid.
  for (int p = 0; p <= 100; p += 25) {
    Add(d, K::kLine, p == 0 ? Ink::kBlack : Ink::kLight, left, y_of(p), right, y_of(p));
    Text(d, K::kRightText, left - 0.08, y_of(p) + 0.05, 8, std::to_string(p) + "%", Ink::kGrey);
  }
  Add(d, K::kLine, Ink::kBlack, left, plot_top, left, plot_bottom);
  Add(d, K::kDashedLine, Ink::kFail, left, y_of(data.passing_grade), right,
      y_of(data.passing_grade));
  if (data.points.empty()) {
    Text(d, K::kText, left + 0.3, (plot_top + plot_bottom) / 2, 10, "No tests in these dates.",
         Ink::kGrey);
  }
  for (const ChartPoint& p : data.points) {
    const double px = x_of(DayNumber(p.day)), py = y_of(static_cast<double>(p.percent));
    Add(d, p.passed ? K::kDot : K::kCross, p.passed ? Ink::kPass : Ink::kFail, px, py, 0, 0, mark);
    if (placed) placed->push_back({px, py});
  }

  // The practice minutes per week.
  long long most = 0;
  for (const WeekMinutes& w : data.weeks) most = std::max(most, w.minutes);
  Add(d, K::kLine, Ink::kBlack, left, bars_bottom, right, bars_bottom);
  Text(d, K::kRightText, left - 0.08, bars_top + 0.05, 8, std::to_string(most) + " min",
       Ink::kGrey);
  Text(d, K::kRightText, left - 0.08, bars_bottom, 8, "0", Ink::kGrey);
  for (const WeekMinutes& w : data.weeks) {
    if (w.minutes <= 0 || most <= 0) continue;
    const double x1 = x_of(DayNumber(w.monday)), x2 = x_of(DayNumber(w.monday) + 7);
    const double gap = std::min(0.03, (x2 - x1) / 4);
    const double top =
        bars_bottom - (bars_bottom - bars_top) * static_cast<double>(w.minutes) / most;
    Add(d, K::kBar, Ink::kBar, x1 + gap, top, x2 - gap, bars_bottom);
  }

  // Dates under the bars: up to six, evenly spread.
  const int ticks = 5;
  for (int t = 0; t <= ticks; ++t) {
    const long long day = first + (last - first) * t / ticks;
    const double tx = x_of(day);
    Add(d, K::kLine, Ink::kGrey, tx, bars_bottom, tx, bars_bottom + 0.06);
    Text(d, t == ticks ? K::kRightText : K::kText, t == ticks ? tx : tx - (t == 0 ? 0 : 0.3),
         bars_bottom + 0.25, 8, DayKeyText(KeyOfDayNumber(day)), Ink::kGrey);
  }
  return d;
}

}  // namespace quillon

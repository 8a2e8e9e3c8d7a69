// One student's progress: each test as a point (day against percent,
// passed or failed, with its lesson or unit title) and the practice minutes
// of each week, from the same record lines and grading as the summary; and
// the chart of them laid out as a Drawing of a given size.
#pragma once

#include <string>
#include <vector>

#include "platform/Drawing.h"
#include "records/Summary.h"

namespace quillon {

struct ChartPoint {
  int day = 0;  // DayKey
  long long percent = 0;
  bool passed = false;
  std::string title;  // the lesson title the records display shows
};

struct WeekMinutes {
  int monday = 0;  // DayKey of the week's Monday
  long long minutes = 0;
};

struct ProgressData {
  std::string student;  // the roster name, trimmed
  double passing_grade = 60;
  std::vector<ChartPoint> points;  // by day; one day's tests in file order
  std::vector<WeekMinutes> weeks;  // every week from the first record's to the last's
  // The lessons and units the student needs help in (NeedsHelpTopics), as
  // the class summary counts them.
  std::vector<std::string> needs_help;
};

// The tests and practice weeks of student `studentnum` of the request's
// class within its range, from the working lists as they stand.
ProgressData StudentProgress(const WorkingLists& lists, const TitleTables& tables,
                             const SummaryRequest& request, int studentnum,
                             const std::string& student_name);

// Where each point stands in the drawing, in inches (the same order as
// data.points), for finding the point under the pointer.
struct PlacedPoint {
  double x = 0, y = 0;
};

// The chart at `width` by `height` inches: the title, the lessons and units
// that need help (up to three lines, then how many more), the percent axis
// with the passing grade as a dashed line, a dot per passed test and a
// cross per failed one, and beneath them a bar per week of practice minutes.
Drawing LayoutProgressChart(const ProgressData& data, double width, double height,
                            std::vector<PlacedPoint>* placed = nullptr);

}  // namespace quillon

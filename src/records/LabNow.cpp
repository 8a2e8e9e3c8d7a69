#include "records/LabNow.h"

#include <algorithm>
#include <unordered_map>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/DiagFile.h"
#include "data/RecordFile.h"
#include "diagnostics/ClassOverview.h"
#include "diagnostics/DiagRecord.h"
#include "records/Summary.h"

namespace quillon {

const std::array<const char*, kLabColumns> kLabHeadings = {
    "Class",  "Student", "Last record", "Attention",  "Lesson or unit", "Activity", "Percent",
    "Result", "Minutes", "Problems",    "Practice %", "Passed",         "Failed"};

LocalSeconds SecondsOf(const DateTime& t) {
  return DayNumber(DayKeyOf(t.date)) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

std::string ClockTime(LocalSeconds t) {
  const LocalSeconds of_day = (t % 86400 + 86400) % 86400;
  return ZeroPad(of_day / 3600, 2) + ":" + ZeroPad(of_day / 60 % 60, 2);
}

std::string LabTime(const LabWork& work) {
  return (work.known ? "" : "before ") + ClockTime(work.at);
}

namespace {

std::string OptionalNumber(const std::optional<long long>& n) {
  return n ? std::to_string(*n) : std::string();
}

}  // namespace

std::string LabTabLine(const LabWork& work, const LabLine& line) {
  std::string out;
  for (const std::string& field :
       {LabTime(work), line.class_name, line.student_name, line.title, line.activity,
        OptionalNumber(line.percent), line.result, OptionalNumber(line.minutes)}) {
    out += (out.empty() ? "" : "\t") + field;
  }
  // The first field is never empty, so the separators stand right.
  return out;
}

std::string LabAttention(const LabRow& row) {
  std::string words;
  if (row.failed_test) {
    words = row.failed == 1 ? "Failed a test today"
                            : "Failed " + std::to_string(row.failed) + " tests today";
  }
  if (row.idle) {
    words += std::string(words.empty() ? "No" : "; no") + " record for " +
             std::to_string(row.since / 60) + " min" + (row.last_work.known ? "" : " or more");
  }
  return words;
}

std::string LabCell(const LabRow& row, int column) {
  switch (column) {
    case kLabClass:
      return row.last.class_name;
    case kLabStudent:
      return row.last.student_name;
    case kLabSince:
      if (!row.last_work.known) return LabTime(row.last_work);
      return row.since < 60 ? "now" : std::to_string(row.since / 60) + " min";
    case kLabTitle:
      return row.last.title;
    case kLabActivity:
      return row.last.activity;
    case kLabPercent:
      return OptionalNumber(row.last.percent);
    case kLabResult:
      return row.last.result;
    case kLabMinutes:
      return std::to_string(row.minutes);
    case kLabProblems:
      return std::to_string(row.problems);
    case kLabPractice:
      return OptionalNumber(row.practice_percent);
    case kLabPassed:
      return std::to_string(row.passed);
    case kLabFailed:
      return std::to_string(row.failed);
    case kLabAttention:
      return LabAttention(row);
    default:
      return "";
  }
}

LabWatch::LabWatch(Folder& folder, Clock& clock, const TitleTables& tables)
    : folder_(folder),
      clock_(clock),
      tables_(tables),
      records_tail_(folder, kRecordsFile, kActivityRecordLength),
      diag_tail_(folder, kDiagFile, kDiagRecordLength),
      classes_tail_(folder, kClassesFile, kClassRecordLength),
      students_tail_(folder, kStudentsFile, kStudentRecordLength) {}

double LabWatch::PassingGrade(int classnum) const {
  const auto it = class_of_.find(classnum);
  return it == class_of_.end() ? 60 : PassingGradeOf(it->second);
}

LabLine LabWatch::Describe(const LabWork& work) const {
  LabLine line;
  const std::string_view r = work.record;
  line.classnum = work.diagnostic ? DiagClassNumber(r) : ActivityClassNumber(r);
  line.student = work.diagnostic ? DiagStudentNumber(r) : ActivityStudentNumber(r);
  const auto it = class_of_.find(line.classnum);
  line.class_name = it != class_of_.end() ? ClassDisplayName(it->second)
                                          : "Class " + std::to_string(line.classnum);
  const std::string& name = roster_.Name(line.classnum, line.student);
  line.student_name = name.empty() ? "Student " + std::to_string(line.student) : TrimRight(name);
  if (work.diagnostic) {
    line.activity = "Diagnostic Test";
    if (const std::optional<DiagnosticResult> result = ScoreDiagnosticRecord(r)) {
      line.title = result->test->name;
      line.percent = result->percent_correct;
    }
    return line;
  }
  const std::string l = ComposeRecordLine(r, "");
  const Grading g = GradeRecordLine(l, PassingGrade(line.classnum));
  line.title = LessonTitleOf(tables_, l);
  const char kind = LineKind(l);
  line.activity = kind == 'T' ? "Lesson Test" : kind == 'U' ? "Unit Test" : "Practice";
  line.percent = g.percent;
  line.result = g.is_test ? (g.passed ? "Yes" : "No") : Trim(std::string(1, g.grade));
  line.minutes = g.minutes;
  return line;
}

bool LabWatch::Today(bool diagnostic, std::string_view record) const {
  if (diagnostic) return DiagTestDay(record) == day_;
  return RecordDayKey(record) == day_;
}

void LabWatch::NewDay(int day) {
  day_ = day;
  records_tail_.Reset();
  diag_tail_.Reset();
  first_records_ = first_diag_ = true;
  works_.clear();
  days_.clear();
}

bool LabWatch::Follow(const TailLook& look, std::string* held) {
  switch (look.kind) {
    case TailLook::Kind::kSame:
      return false;
    case TailLook::Kind::kAppended:
      held->append(look.records);
      return true;
    case TailLook::Kind::kReread:
      *held = look.records;
      return true;
  }
  return false;
}

void LabWatch::Count(std::size_t index) {
  const LabWork& w = works_[index];
  const std::string_view r = w.record;
  const int classnum = w.diagnostic ? DiagClassNumber(r) : ActivityClassNumber(r);
  const int student = w.diagnostic ? DiagStudentNumber(r) : ActivityStudentNumber(r);
  StudentDay& d = days_[{classnum, student}];
  d.classnum = classnum;
  d.student = student;
  d.last = index;
  if (w.diagnostic) return;
  const std::string line = ComposeRecordLine(r, "");
  const Grading g = GradeRecordLine(line, PassingGrade(classnum));
  d.minutes += g.minutes;
  if (g.is_test) {
    ++(g.passed ? d.passed : d.failed);
  } else {
    d.problems += g.attempted;
    d.correct += g.correct;
  }
}

void LabWatch::Recount() {
  days_.clear();
  for (std::size_t i = 0; i < works_.size(); ++i) Count(i);
}

void LabWatch::TakeIn(bool diagnostic, const TailLook& look, LocalSeconds now, bool first,
                      std::vector<LabWork>* arrived) {
  if (look.kind == TailLook::Kind::kSame) return;
  // While a zero byte stands in a file read again whole, what it holds is
  // half changed: the records stay as they were until it is gone.
  if (look.kind == TailLook::Kind::kReread && look.zero_at && !first) return;
  const std::size_t length = diagnostic ? kDiagRecordLength : kActivityRecordLength;
  std::vector<std::string> today;
  for (std::size_t at = 0; at + length <= look.records.size(); at += length) {
    std::string r = look.records.substr(at, length);
    if (!diagnostic) r.replace(0, 2, NormalizeCourseCode(r.substr(0, 2)));
    if (Today(diagnostic, r)) today.push_back(std::move(r));
  }
  auto take = [&](LabWork work) {
    if (arrived != nullptr) arrived->push_back(work);
    return work;
  };
  if (look.kind == TailLook::Kind::kAppended) {
    for (std::string& r : today) {
      works_.push_back(take({diagnostic, std::move(r), now, true, next_order_++}));
      Count(works_.size() - 1);
    }
    return;
  }
  std::vector<LabWork> kept, fresh;
  for (LabWork& w : works_) (w.diagnostic == diagnostic ? kept : fresh).push_back(std::move(w));
  if (first) {
    // In the file already: the latest they can have come in is its last
    // change (or now, where its time is of another day or still to come).
    const LocalSeconds changed = SecondsOf(look.changed);
    const LocalSeconds bound =
        DayKeyOf(look.changed.date) == day_ && changed <= now ? changed : now;
    for (std::string& r : today) {
      fresh.push_back(take({diagnostic, std::move(r), bound, false, next_order_++}));
    }
  } else {
    // The records still there keep their times, matched in file order; the
    // others came in now.
    std::unordered_map<std::string_view, std::vector<std::size_t>> places;
    for (std::size_t i = 0; i < kept.size(); ++i) places[kept[i].record].push_back(i);
    std::size_t next = 0;  // the first place of `kept` still free to match
    for (std::string& r : today) {
      const auto it = places.find(r);
      if (it != places.end()) {
        const auto at = std::lower_bound(it->second.begin(), it->second.end(), next);
        if (at != it->second.end()) {
          next = *at + 1;
          fresh.push_back(kept[*at]);
          continue;
        }
      }
      fresh.push_back(take({diagnostic, std::move(r), now, true, next_order_++}));
    }
  }
  std::stable_sort(fresh.begin(), fresh.end(),
                   [](const LabWork& a, const LabWork& b) { return a.order < b.order; });
  works_ = std::move(fresh);
  Recount();
}

void LabWatch::Note(const RecordTail& tail, const TailLook& look) {
  if (look.zero_at) {
    const std::size_t length = &tail == &diag_tail_ ? kDiagRecordLength : kActivityRecordLength;
    notes_.push_back(tail.name() + " holds a zero byte at byte " + std::to_string(*look.zero_at) +
                     " (in record " + std::to_string(*look.zero_at / length + 1) +
                     "), which no tutoring lesson writes: a removal of records is under way or "
                     "was cut short, or the file is damaged. Until it is gone the records are "
                     "shown as they stood before it.");
  } else if (look.partial > 0) {
    notes_.push_back(tail.name() + " ends in " + std::to_string(look.partial) +
                     (look.partial == 1 ? " byte" : " bytes") +
                     " of a record still being written; it is shown once it is whole.");
  }
}

Status LabWatch::Look(std::vector<LabWork>* arrived) {
  const DateTime now = clock_.Now();
  const int day = DayKeyOf(now.date);
  if (day != day_) NewDay(day);
  const LocalSeconds seconds = SecondsOf(now);
  Status first_failure;
  auto keep = [&](const Status& s) {
    if (!s.ok() && first_failure.ok()) first_failure = s;
    return s.ok();
  };
  // Names and passing grades first, for the records that follow.
  TailLook look;
  bool regrade = false;
  if (keep(classes_tail_.Look(&look)) && Follow(look, &class_bytes_)) {
    const ClassList list = FillClassList(RecordSet(class_bytes_, kClassRecordLength));
    classes_ = list.items;
    class_of_.clear();
    for (const std::string& c : classes_) class_of_.emplace(ClassNumberOf(c), c);
    regrade = true;
  }
  if (keep(students_tail_.Look(&look)) && Follow(look, &student_bytes_)) {
    roster_.Load(RecordSet(student_bytes_, kStudentRecordLength));
  }
  if (regrade) Recount();
  notes_.clear();
  if (keep(records_tail_.Look(&look))) {
    TakeIn(false, look, seconds, first_records_, arrived);
    first_records_ = false;
    Note(records_tail_, look);
  }
  if (keep(diag_tail_.Look(&look))) {
    TakeIn(true, look, seconds, first_diag_, arrived);
    first_diag_ = false;
    Note(diag_tail_, look);
  }
  return first_failure;
}

std::vector<LabRow> LabWatch::Rows(int classnum, LocalSeconds now) const {
  std::vector<LabRow> rows;
  for (const auto& [key, d] : days_) {
    if (classnum != kAllClasses && d.classnum != classnum) continue;
    LabRow row;
    row.last_work = works_[d.last];
    row.last = Describe(row.last_work);
    row.since = std::max<long long>(0, now - row.last_work.at);
    row.minutes = d.minutes;
    row.problems = d.problems;
    if (d.problems > 0) {
      // A day's problems stay far within an int (999 a record).
      row.practice_percent =
          PercentCorrect(static_cast<int>(d.problems), static_cast<int>(d.correct));
    }
    row.passed = d.passed;
    row.failed = d.failed;
    row.failed_test = d.failed > 0;
    rows.push_back(std::move(row));
  }
  const long long idle = kLabIdleMinutes * 60LL;
  const bool others_work =
      std::any_of(rows.begin(), rows.end(), [&](const LabRow& r) { return r.since < idle; });
  for (LabRow& r : rows) r.idle = others_work && r.since >= idle;
  std::sort(rows.begin(), rows.end(), [](const LabRow& a, const LabRow& b) {
    if (a.last_work.at != b.last_work.at) return a.last_work.at > b.last_work.at;
    return a.last_work.order > b.last_work.order;
  });
  return rows;
}

}  // namespace quillon

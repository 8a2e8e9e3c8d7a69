// Lab Now: who is working today, on what, how it went and who is stuck, from
// the records the tutoring lessons append to RECORDS.DAT and Diag.dat,
// followed as they arrive (records/RecordTail.h: reading only, no file kept
// open, no lock taken, nothing pending finished). The records carry their
// day but not their time: a record is timed when a look takes it in, and
// one already in the file when the watching began is "before" the file's
// last change.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/ClassFiles.h"
#include "platform/Clock.h"
#include "platform/Folder.h"
#include "records/DisplayOptions.h"
#include "records/RecordLine.h"
#include "records/RecordTail.h"

namespace quillon {

// A moment of local time as seconds from 1970-01-01 (the clock's and the
// files' times alike).
using LocalSeconds = std::int64_t;
LocalSeconds SecondsOf(const DateTime& t);
// "09:05".
std::string ClockTime(LocalSeconds t);

// No record for this long, while another student has one within it: the
// student may be stuck.
inline constexpr int kLabIdleMinutes = 15;

// One piece of today's work.
struct LabWork {
  bool diagnostic = false;  // a Diag.dat result; else a RECORDS.DAT record
  std::string record;       // as read (an activity record's course code normalised)
  LocalSeconds at = 0;      // when a look took it in, or, when !known, the latest it came in
  bool known = true;        // false: in the file already when the watching began
  std::uint64_t order = 0;  // the order it was taken in
};

// A piece of work as it is shown and printed.
struct LabLine {
  int classnum = 0, student = 0;
  std::string class_name;    // the class list's name; "Class 7" when not in CLASSES.DAT
  std::string student_name;  // the roster name; "Student 12" when not on the roster
  std::string title;         // the lesson or unit title, or the diagnostic test's name
  std::string activity;      // "Practice", "Lesson Test", "Unit Test", "Diagnostic Test"
  std::optional<long long> percent;
  std::string result;  // tests "Yes"/"No" against the class's passing grade; practice its grade
  std::optional<long long> minutes;
};

// "10:31" when the work's time is known, "before 10:29" otherwise.
std::string LabTime(const LabWork& work);
// time, class, student, title, activity, percent, result, minutes, by tabs
// (an empty field where there is nothing).
std::string LabTabLine(const LabWork& work, const LabLine& line);

// One student's day.
struct LabRow {
  LabLine last;  // the last piece of work
  LabWork last_work;
  long long since = 0;     // seconds since it came in (at least that many when !last_work.known)
  long long minutes = 0;   // today's minutes
  long long problems = 0;  // problems attempted in today's practice
  std::optional<long long> practice_percent;
  int passed = 0, failed = 0;  // today's lesson and unit tests
  bool failed_test = false;    // a test failed today
  bool idle = false;           // no record for kLabIdleMinutes while others work
};

enum LabColumn {
  kLabClass,
  kLabStudent,
  kLabSince,
  kLabAttention,
  kLabTitle,
  kLabActivity,
  kLabPercent,
  kLabResult,
  kLabMinutes,
  kLabProblems,
  kLabPractice,
  kLabPassed,
  kLabFailed,
  kLabColumns
};
extern const std::array<const char*, kLabColumns> kLabHeadings;
// The text of a cell: "now", "4 min", "before 10:29" for the last record;
// the attention's reasons in words ("Failed a test today; no record for
// 17 min").
std::string LabCell(const LabRow& row, int column);
std::string LabAttention(const LabRow& row);

class LabWatch {
 public:
  LabWatch(Folder& folder, Clock& clock, const TitleTables& tables);

  // Looks at the files (opening none that did not change) and takes in
  // today's records among the bytes appended; at the first look, and the
  // first of a new day, every record of today so far. A file read again
  // whole (a removal, a restore) keeps the times of the records it still
  // holds; a record it holds that was not there before came in now.
  // `arrived` (may be null) receives the work taken in, in order. Fails
  // when a file cannot be read; the others are taken in all the same, and
  // the next look tries again.
  [[nodiscard]] Status Look(std::vector<LabWork>* arrived = nullptr);

  // One row per student who worked today, of class `classnum` (kAllClasses:
  // every class), newest activity first, at `now`.
  std::vector<LabRow> Rows(int classnum, LocalSeconds now) const;
  // What keeps part of the files from view, one sentence per file: a
  // record not yet whole at its end, a zero byte. None when all is in view.
  const std::vector<std::string>& notes() const { return notes_; }
  // The classes of CLASSES.DAT, as the windows' class list holds them.
  const std::vector<std::string>& classes() const { return classes_; }
  const std::vector<LabWork>& works() const { return works_; }
  LabLine Describe(const LabWork& work) const;
  // The passing grade of a class (60 when it is not in CLASSES.DAT).
  double PassingGrade(int classnum) const;

 private:
  struct StudentDay {
    int classnum = 0, student = 0;
    long long minutes = 0, problems = 0, correct = 0;
    int passed = 0, failed = 0;
    std::size_t last = 0;  // index in works_
  };
  void NewDay(int day);
  // The whole records of a small file (CLASSES.DAT, STUDENTS.DAT) as held.
  static bool Follow(const TailLook& look, std::string* held);
  void TakeIn(bool diagnostic, const TailLook& look, LocalSeconds now, bool first,
              std::vector<LabWork>* arrived);
  bool Today(bool diagnostic, std::string_view record) const;
  void Count(std::size_t index);
  void Recount();
  void Note(const RecordTail& tail, const TailLook& look);

  Folder& folder_;
  Clock& clock_;
  TitleTables tables_;
  RecordTail records_tail_, diag_tail_, classes_tail_, students_tail_;
  std::string class_bytes_, student_bytes_;
  std::vector<std::string> classes_;
  std::map<int, std::string> class_of_;  // the first class record of each number
  Roster roster_;
  int day_ = 0;  // DayKey of the records held
  bool first_records_ = true, first_diag_ = true;
  std::vector<LabWork> works_;  // today's, in order
  std::uint64_t next_order_ = 0;
  std::map<std::pair<int, int>, StudentDay> days_;  // by class and student number
  std::vector<std::string> notes_;
};

}  // namespace quillon

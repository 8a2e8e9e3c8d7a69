#include "classes/Erase.h"


#include "base/Text.h"
#include "classes/ClassOperations.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "data/RecordFile.h"
#include "platform/Random.h"
#include "store/Bin.h"
#include "store/Pending.h"
#include "store/Purge.h"

namespace quillon {
namespace {

enum class Kind { kRecords, kResults, kStudent, kClass };

std::string Two(int n) { return ZeroPad(n, 2); }

// "261209-233112-4f2a": sorts by time; the random end keeps two computers
// erasing in the same second apart.
std::string NewId(const DateTime& now) {
  return Two(now.date.year % 100) + Two(now.date.month) + Two(now.date.day) + "-" + Two(now.hour) +
         Two(now.minute) + Two(now.second) + "-" + RandomHexDigits(4);
}

// What a person reads in the bin's list.
std::string What(Kind kind, const Students& students, const std::string& classnam,
                 const std::string& studentnam) {
  const std::string cls =
      classnam.empty() ? "class " + std::to_string(students.classnum()) : classnam;
  const std::string who =
      (studentnam.empty() ? "student " + std::to_string(students.studentnum()) : studentnam) +
      ", " + cls;
  const bool one = !students.whole_class();
  switch (kind) {
    case Kind::kRecords:
    case Kind::kResults: {
      const std::string what = kind == Kind::kRecords ? "Records" : "Diagnostic results";
      if (students.every_class()) return what + " of all classes";
      return what + " of " + (one ? who : "all students in " + cls);
    }
    case Kind::kStudent:
      return one ? "Student " + who + ", with records"
                 : "All students of " + cls + ", with records";
    case Kind::kClass:
      return students.every_class() ? "All classes, students and records"
                                    : "Class " + cls + ", with students and records";
  }
  return std::string();
}

// The note of an erase: when, what, and the class and roster records it
// concerns as they stand now (under the lock).
Status MakeNote(Folder& folder, const DateTime& now, Kind kind, const Students& who,
                BinNote* note) {
  note->id = NewId(now);
  note->when = Two(now.date.month) + "/" + Two(now.date.day) + "/" + Two(now.date.year % 100) +
               " " + Two(now.hour) + ":" + Two(now.minute);
  std::string classnam, studentnam;
  if (!who.every_class()) {
    std::string class_bytes, student_bytes;
    Status s = folder.ReadFile(kClassesFile, &class_bytes);
    if (s.ok()) s = folder.ReadFile(kStudentsFile, &student_bytes);
    if (!s.ok()) return s;
    const RecordSet classes(std::move(class_bytes), kClassRecordLength),
        students(std::move(student_bytes), kStudentRecordLength);
    for (std::size_t i = 0; i < classes.Count() && note->classrec.empty(); ++i) {
      if (ClassNumberOf(classes.At(i)) == who.classnum()) note->classrec = classes.At(i);
    }
    if (!note->classrec.empty()) classnam = ClassDisplayName(note->classrec);
    for (std::size_t i = 0; i < students.Count(); ++i) {
      const std::string_view r = students.At(i);
      if (!who.Holds(StudentClassNumberOf(r), StudentNumberOf(r))) continue;
      if (studentnam.empty()) studentnam = StudentDisplayName(r);
      note->students.emplace_back(r);
    }
  }
  note->what = What(kind, who, classnam, studentnam);
  return Status::OK();
}

// The erase of `kind`: the records (or results) first, then for a deletion
// the roster and class records, so that no student or class is ever in the
// bin without their records. All of it under one lock and one note: one
// bin entry.
Status Erase(Folder& folder, const DateTime& now, Kind kind, const Students& who,
             EraseResult* result) {
  *result = EraseResult();
  if (!who.valid()) {
    return Status::Error(StatusCode::kRefused, kind == Kind::kResults ? kDiagFile : kRecordsFile,
                         "nothing was erased: the class or student number is negative");
  }
  PendingReport finished;
  Status s = WithLock(
      folder, nullptr,
      [&](const LockToken& lock) {
        BinNote note;
        Status s = MakeNote(folder, now, kind, who, &note);
        RemovalOptions options;
        options.bin = &note;
        options.finished = &finished;
        // Counted as each step ends: after a failure, what the steps before
        // took is in the bin.
        RewriteResult purged;
        if (s.ok()) {
          s = kind == Kind::kResults ? PurgeDiagnostics(folder, lock, who, &purged, options)
                                     : PurgeRecords(folder, lock, who, &purged, options);
          if (s.ok()) (kind == Kind::kResults ? result->results : result->records) = purged.removed;
        }
        if (s.ok() && kind == Kind::kStudent) {
          s = FileDeleteStudent(folder, lock, who, options, &result->roster);
        }
        if (s.ok() && kind == Kind::kClass) {
          s = FileDeleteClass(folder, lock, who, options, &result->roster);
        }
        if (result->records + result->results + result->roster > 0) result->id = note.id;
        return s;
      },
      &finished, kLockWait, Look::kJournalEnds);
  for (const Finished& f : finished) result->finished_earlier += f.removed;
  return s;
}

}  // namespace

Status EraseActivityRecords(Folder& folder, const DateTime& now, const Students& who,
                            EraseResult* result) {
  return Erase(folder, now, Kind::kRecords, who, result);
}

Status EraseDiagnosticResults(Folder& folder, const DateTime& now, const Students& who,
                              EraseResult* result) {
  return Erase(folder, now, Kind::kResults, who, result);
}

Status DeleteStudentWithRecords(Folder& folder, const DateTime& now, const Students& who,
                                EraseResult* result) {
  return Erase(folder, now, Kind::kStudent, who, result);
}

Status DeleteClassWithRecords(Folder& folder, const DateTime& now, const Students& who,
                              EraseResult* result) {
  return Erase(folder, now, Kind::kClass, Students::WholeClass(ClassNum(who.classnum())), result);
}

}  // namespace quillon

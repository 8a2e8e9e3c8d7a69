#include "classes/ClassOperations.h"

#include "base/Password.h"
#include "base/Text.h"
#include "data/ClassFiles.h"
#include "store/Append.h"
#include "store/Pending.h"
#include "store/Purge.h"

namespace quillon {
namespace {

// Reads `name`'s records under the lock (what was pending for it finished).
Status ReadUnderLock(Folder& folder, const char* name, std::size_t length, RecordSet* records) {
  std::string bytes;
  Status s = folder.ReadFile(name, &bytes);
  *records = RecordSet(std::move(bytes), length);
  return s;
}

}  // namespace

std::string UnstorableText(std::string_view text) {
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code == '\r' || code == '\n') return "a line break";
    if (code == '\t') return "a tab";
    if (code < 32 || code == 127) return "a control character";
  }
  return std::string();
}

Status FileAddClass(Folder& folder, std::string_view classnam, int* classnum) {
  *classnum = 0;
  return WithLock(folder, StoreFileOf(kClassesFile), [&](const LockToken& lock) {
    RecordSet classes;
    Status s = ReadUnderLock(folder, kClassesFile, kClassRecordLength, &classes);
    if (!s.ok()) return s;
    const int n = NewClassNumber(classes);
    if (n == 0) {
      return Status::Error(StatusCode::kRefused, kClassesFile,
                           "the class numbers 1 to 99 are all in use");
    }
    s = AppendRecords(folder, lock, kClassesFile, BuildClassRecord(classnam, n));
    if (s.ok()) *classnum = n;
    return s;
  });
}

Status FileEditClass(Folder& folder, int classnum, std::string_view Newclassnam) {
  const std::string name = FixWidth(Newclassnam, 27);
  return WithLock(folder, StoreFileOf(kClassesFile), [&](const LockToken& lock) {
    return ChangeRecordsInPlace(folder, lock, kClassesFile, [&](std::string& r) {
      if (ClassNumberOf(r) != classnum) return false;
      r.replace(0, 27, name);
      return true;
    });
  });
}

Status FileChangePassingGrade(Folder& folder, int classnum, int grade) {
  const std::string field = ZeroPad(grade, 3);
  return WithLock(folder, StoreFileOf(kClassesFile), [&](const LockToken& lock) {
    return ChangeRecordsInPlace(folder, lock, kClassesFile, [&](std::string& r) {
      if (ClassNumberOf(r) != classnum) return false;
      r.replace(27, 3, field);
      return true;
    });
  });
}

Status FileAddStudent(Folder& folder, std::string_view studentnam, int classnum,
                      std::string_view studentpwd, int* studentnum) {
  *studentnum = 0;
  return WithLock(folder, StoreFileOf(kStudentsFile), [&](const LockToken& lock) {
    RecordSet students;
    Status s = ReadUnderLock(folder, kStudentsFile, kStudentRecordLength, &students);
    if (!s.ok()) return s;
    const int n = NewStudentNumber(students, classnum);
    if (n == 0) {
      return Status::Error(StatusCode::kRefused, kStudentsFile,
                           "the class holds 99 students, as many as it can");
    }
    s = AppendRecords(folder, lock, kStudentsFile,
                      BuildStudentRecord(Trim(studentnam), n, classnum, studentpwd));
    if (s.ok()) *studentnum = n;
    return s;
  });
}

Status FileEditStudent(Folder& folder, int classnum, int studentnum, std::string_view studentnam,
                       std::string_view studentpwd) {
  const std::string name = FixWidth(studentnam, 21);
  const std::string password = FixWidth(ScramblePassword(studentpwd), 6);
  return WithLock(folder, StoreFileOf(kStudentsFile), [&](const LockToken& lock) {
    return ChangeRecordsInPlace(folder, lock, kStudentsFile, [&](std::string& r) {
      if (StudentClassNumberOf(r) != classnum || StudentNumberOf(r) != studentnum) return false;
      r.replace(0, 21, name);
      r.replace(25, 6, password);
      return true;
    });
  });
}

Status FileDeleteClass(Folder& folder, const LockToken& lock, const Students& who,
                       const RemovalOptions& options, std::size_t* removed) {
  if (removed != nullptr) *removed = 0;
  if (!who.valid() || !(who.every_class() || who.whole_class())) {
    return Status::Error(StatusCode::kRefused, kClassesFile, "no class removed: no class named");
  }
  std::size_t students = 0;
  Status s = FileDeleteStudent(folder, lock, who, options, &students);
  if (!s.ok()) return s;
  RewriteResult result;
  s = RewriteRecordFile(
      folder, lock, *StoreFileOf(kClassesFile),
      [&who](std::string_view r) { return !who.Holds(ClassNumberOf(r), 0); }, &result, options);
  if (removed != nullptr) *removed = students + (s.ok() ? result.removed : 0);
  return s;
}

Status FileDeleteStudent(Folder& folder, const LockToken& lock, const Students& who,
                         const RemovalOptions& options, std::size_t* removed) {
  if (removed != nullptr) *removed = 0;
  if (!who.valid()) {
    return Status::Error(StatusCode::kRefused, kStudentsFile,
                         "no student removed: the student number is negative");
  }
  RewriteResult result;
  Status s = RewriteRecordFile(
      folder, lock, *StoreFileOf(kStudentsFile),
      [&who](std::string_view r) {
        return !who.Holds(StudentClassNumberOf(r), StudentNumberOf(r));
      },
      &result, options);
  if (s.ok() && removed != nullptr) *removed = result.removed;
  return s;
}

}  // namespace quillon

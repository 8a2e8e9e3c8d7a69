#include "classes/ClassOperations.h"

#include "base/Password.h"
#include "base/Text.h"
#include "data/ClassFiles.h"
#include "data/Purge.h"
#include "data/RecordFile.h"

namespace quillon {

std::string UnstorableText(std::string_view text) {
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code == '\r' || code == '\n') return "a line break";
    if (code == '\t') return "a tab";
    if (code < 32 || code == 127) return "a control character";
  }
  return std::string();
}

Status FileAddClass(Folder& folder, std::string_view classnam, int classnum) {
  return AppendRecord(folder, kClassesFile, BuildClassRecord(classnam, classnum));
}

Status FileEditClass(Folder& folder, int classnum, std::string_view Newclassnam) {
  const std::string name = FixWidth(Newclassnam, 27);
  return ChangeRecordsInPlace(folder, kClassesFile, kClassRecordLength, [&](std::string& r) {
    if (ClassNumberOf(r) != classnum) return false;
    r.replace(0, 27, name);
    return true;
  });
}

Status FileChangePassingGrade(Folder& folder, int classnum, int grade) {
  const std::string field = ZeroPad(grade, 3);
  return ChangeRecordsInPlace(folder, kClassesFile, kClassRecordLength, [&](std::string& r) {
    if (ClassNumberOf(r) != classnum) return false;
    r.replace(27, 3, field);
    return true;
  });
}

Status FileDeleteClass(Folder& folder, int classnum, const RewriteOptions& options,
                       std::size_t* removed) {
  if (removed != nullptr) *removed = 0;
  Status s = FileDeleteStudent(folder, 0, classnum, options, removed);
  if (!s.ok()) return s;
  // Class 0: every class goes.
  RewriteResult result;
  s = RewriteRecordFile(
      folder, *RemovalFileOf(kClassesFile),
      [classnum](std::string_view r) {
        return classnum != kEveryClass && ClassNumberOf(r) != classnum;
      },
      &result, options);
  if (s.ok() && removed != nullptr) *removed += result.removed;
  return s;
}

Status FileAddStudent(Folder& folder, std::string_view studentnam, int classnum, int studentnum,
                      std::string_view studentpwd) {
  return AppendRecord(folder, kStudentsFile,
                      BuildStudentRecord(Trim(studentnam), studentnum, classnum, studentpwd));
}

Status FileEditStudent(Folder& folder, int classnum, int studentnum, std::string_view studentnam,
                       std::string_view studentpwd) {
  const std::string name = FixWidth(studentnam, 21);
  const std::string password = FixWidth(ScramblePassword(studentpwd), 6);
  return ChangeRecordsInPlace(folder, kStudentsFile, kStudentRecordLength, [&](std::string& r) {
    if (StudentClassNumberOf(r) != classnum || StudentNumberOf(r) != studentnum) return false;
    r.replace(0, 21, name);
    r.replace(25, 6, password);
    return true;
  });
}

Status FileDeleteStudent(Folder& folder, int studentnum, int classnum,
                         const RewriteOptions& options, std::size_t* removed) {
  if (removed != nullptr) *removed = 0;
  if (classnum != kEveryClass && studentnum < 0) {
    return Status::Error(kStudentsFile, "no student removed: the student number is negative");
  }
  KeepTest keep;
  if (classnum == kEveryClass) {
    keep = [](std::string_view) { return false; };  // every student of every class
  } else if (studentnum == kEveryStudent) {
    keep = [classnum](std::string_view r) { return StudentClassNumberOf(r) != classnum; };
  } else {
    keep = [classnum, studentnum](std::string_view r) {
      return StudentClassNumberOf(r) != classnum || StudentNumberOf(r) != studentnum;
    };
  }
  RewriteResult result;
  Status s = RewriteRecordFile(folder, *RemovalFileOf(kStudentsFile), keep, &result, options);
  if (s.ok() && removed != nullptr) *removed = result.removed;
  return s;
}

}  // namespace quillon

#include "export/ExportLookups.h"

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/RecordFile.h"
#include "store/Read.h"

namespace quillon {

Status LoadExportLookups(Folder& folder, ExportLookups* lookups) {
  *lookups = ExportLookups();
  RecordSet classes, students;
  Status s = ReadRecords(folder, kClassesFile, kClassRecordLength, &classes);
  if (s.ok()) s = ReadRecords(folder, kStudentsFile, kStudentRecordLength, &students);
  if (!s.ok()) return s;
  for (std::size_t i = 0; i < classes.Count(); ++i) {
    std::string_view r = classes.At(i);
    lookups->class_names.emplace(ClassNumberOf(r), ClassDisplayName(r));
  }
  for (std::size_t i = 0; i < students.Count(); ++i) {
    std::string_view r = students.At(i);
    lookups->student_names.emplace(std::make_pair(StudentClassNumberOf(r), StudentNumberOf(r)),
                                   StudentDisplayName(r));
  }
  return Status::OK();
}

const std::string& ExportClassName(const ExportLookups& lookups, std::string_view record) {
  static const std::string kNone;
  auto it = lookups.class_names.find(ActivityClassNumber(record));
  return it == lookups.class_names.end() ? kNone : it->second;
}

const std::string& ExportStudentName(const ExportLookups& lookups, std::string_view record) {
  static const std::string kNone;
  auto it =
      lookups.student_names.find({ActivityClassNumber(record), ActivityStudentNumber(record)});
  return it == lookups.student_names.end() ? kNone : it->second;
}

}  // namespace quillon

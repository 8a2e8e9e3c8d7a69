#include "data/RemovalFiles.h"

#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "data/RecordFile.h"

namespace quillon {
namespace {

constexpr RemovalFile kFiles[] = {{kRecordsFile, "RECORDS.TMP", kActivityRecordLength},
                                  {kDiagFile, "Diag.TMP", kDiagRecordLength},
                                  {kClassesFile, "CLASSES.TMP", kClassRecordLength},
                                  {kStudentsFile, "STUDENTS.TMP", kStudentRecordLength}};

}  // namespace

const RemovalFile* RemovalFiles(std::size_t* count) {
  *count = std::size(kFiles);
  return kFiles;
}

const RemovalFile* RemovalFileOf(std::string_view main_file) {
  for (const RemovalFile& f : kFiles) {
    if (main_file == f.main) return &f;
  }
  return nullptr;
}

}  // namespace quillon

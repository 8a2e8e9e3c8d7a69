// The class and student names of the export, read once per export from
// CLASSES.DAT and STUDENTS.DAT.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Folder.h"

namespace quillon {

// The first record of each class number and of each (class, student) pair.
struct ExportLookups {
  std::map<int, std::string> class_names;                    // trimmed first 25
  std::map<std::pair<int, int>, std::string> student_names;  // trimmed first 21
};
Status LoadExportLookups(Folder& folder, ExportLookups* lookups);

// The names of an ActivityRecord's class and student; "" when not on file.
const std::string& ExportClassName(const ExportLookups& lookups, std::string_view record);
const std::string& ExportStudentName(const ExportLookups& lookups, std::string_view record);

}  // namespace quillon

#include "data/ClassFiles.h"

#include "data/RecordFile.h"
#include "shell/Password.h"
#include "shell/Text.h"

namespace quillon {
namespace {

std::string_view Field(std::string_view record, std::size_t first, std::size_t width) {
  if (record.size() < first) return {};
  return record.substr(first - 1, width);
}

}  // namespace

int ClassNumberOf(std::string_view r) { return ValInt(Field(r, 31, 2)); }

int PassingGradeOf(std::string_view r) {
  std::string_view grade = Field(r, 28, 3);
  return IsNumeric(grade) ? ValInt(grade) : 60;
}

std::string ClassDisplayName(std::string_view r) { return Trim(r.substr(0, 25)); }

int StudentClassNumberOf(std::string_view r) { return ValInt(Field(r, 24, 2)); }
int StudentNumberOf(std::string_view r) { return ValInt(Field(r, 22, 2)); }
std::string StudentDisplayName(std::string_view r) { return Trim(r.substr(0, 21)); }
std::string StudentPasswordOf(std::string_view r) { return UnscramblePassword(Field(r, 26, 6)); }

bool ClassNumberInUse(Folder& folder, int classnum, Status* status) {
  RecordSet classes;
  *status = ReadRecords(folder, kClassesFile, kClassRecordLength, &classes);
  for (std::size_t i = 0; i < classes.Count(); ++i) {
    if (ClassNumberOf(classes.At(i)) == classnum) return true;
  }
  return false;
}

bool StudentNumberInUse(Folder& folder, int studentnum, int classnum, Status* status) {
  RecordSet students;
  *status = ReadRecords(folder, kStudentsFile, kStudentRecordLength, &students);
  for (std::size_t i = 0; i < students.Count(); ++i) {
    std::string_view r = students.At(i);
    if (StudentClassNumberOf(r) == classnum && StudentNumberOf(r) == studentnum) return true;
  }
  return false;
}

std::string LookupStudentName(Folder& folder, int classnum, int studentnum, Status* status) {
  RecordSet students;
  *status = ReadRecords(folder, kStudentsFile, kStudentRecordLength, &students);
  for (std::size_t i = 0; i < students.Count(); ++i) {
    std::string_view r = students.At(i);
    if (StudentClassNumberOf(r) == classnum && StudentNumberOf(r) == studentnum) {
      return NameField(r);
    }
  }
  return std::string();
}

std::string BuildStudentRecord(std::string_view studentnam, int studentnum, int classnum,
                               std::string_view studentpwd) {
  return FixWidth(studentnam, 21) + FixWidth(std::to_string(studentnum), 2) +
         FixWidth(std::to_string(classnum), 2) + FixWidth(ScramblePassword(studentpwd), 6);
}

int NewClassNumber(Folder& folder, Status* status) {
  int n = 1;
  while (ClassNumberInUse(folder, n, status) && status->ok()) ++n;
  return n;
}

int NewStudentNumber(Folder& folder, int classnum, Status* status) {
  int n = 1;
  while (StudentNumberInUse(folder, n, classnum, status) && status->ok()) ++n;
  return n;
}

Status FillClassList(Folder& folder, ClassList* list) {
  list->items.clear();
  list->bad_class_number = false;
  RecordSet classes;
  Status s = ReadRecords(folder, kClassesFile, kClassRecordLength, &classes);
  if (!s.ok()) return s;
  for (std::size_t i = 0; i < classes.Count(); ++i) {
    if (ClassNumberOf(classes.At(i)) <= 0) {
      list->bad_class_number = true;
      break;
    }
    list->items.emplace_back(classes.At(i));
  }
  return Status::OK();
}

Status FillRosterList(Folder& folder, int classnum, std::vector<std::string>* items) {
  items->clear();
  if (classnum <= 0) return Status::OK();
  RecordSet students;
  Status s = ReadRecords(folder, kStudentsFile, kStudentRecordLength, &students);
  for (std::size_t i = 0; i < students.Count(); ++i) {
    if (StudentClassNumberOf(students.At(i)) == classnum) items->emplace_back(students.At(i));
  }
  return s;
}

Status Roster::Load(Folder& folder) {
  names_.clear();
  RecordSet students;
  Status s = ReadRecords(folder, kStudentsFile, kStudentRecordLength, &students);
  for (std::size_t i = 0; i < students.Count(); ++i) {
    std::string_view r = students.At(i);
    // emplace keeps the first record of a pair, as the file lookup does.
    names_.emplace(std::make_pair(StudentClassNumberOf(r), StudentNumberOf(r)), NameField(r));
  }
  return s;
}

const std::string& Roster::Name(int classnum, int studentnum) const {
  static const std::string kNone;
  auto it = names_.find({classnum, studentnum});
  return it == names_.end() ? kNone : it->second;
}

}  // namespace quillon

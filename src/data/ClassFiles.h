// The class file CLASSES.DAT and the roster file STUDENTS.DAT.
//
// ClassRecord (CLASSES.DAT, 32 characters):
//   1-27  ClassName          left-justified in 27
//   28-30 ClassPassingGrade  three digits with leading zeros ("060")
//   31-32 ClassNumber        1-99, digits left-justified in 2 ("7 ")
//
// StudentRecord (STUDENTS.DAT, 31 characters):
//   1-21  StudentName        left-justified in 21
//   22-23 StudentNumber      1-99, digits left-justified in 2
//   24-25 ClassNumber        as StudentNumber
//   26-31 StudentPassword    scrambled, left-justified in 6
//
// Numbers read by the numeric rule of shell/Text.h (Val, ValInt).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Folder.h"

namespace quillon {

inline constexpr char kClassesFile[] = "CLASSES.DAT";
inline constexpr char kStudentsFile[] = "STUDENTS.DAT";

// Reading rules of a ClassRecord.
int ClassNumberOf(std::string_view class_record);             // Val of 31-32
int PassingGradeOf(std::string_view class_record);            // 28-30 trimmed if numeric, else 60
std::string ClassDisplayName(std::string_view class_record);  // first 25, trimmed

// Reading rules of a StudentRecord.
int StudentClassNumberOf(std::string_view student_record);        // ValInt of 24-25
int StudentNumberOf(std::string_view student_record);             // ValInt of 22-23
std::string StudentDisplayName(std::string_view student_record);  // first 21, trimmed
std::string StudentPasswordOf(std::string_view student_record);   // unscrambled 26-31

// True if some ClassRecord has that class number. `*status` reports a file
// that could not be read (then the answer is false).
bool ClassNumberInUse(Folder& folder, int classnum, Status* status);
// True if some StudentRecord has that class and student number.
bool StudentNumberInUse(Folder& folder, int studentnum, int classnum, Status* status);

// The 21-character name field of the first roster record of that class and
// student; the empty text (not 21 blanks) when there is none.
std::string LookupStudentName(Folder& folder, int classnum, int studentnum, Status* status);

// The 31-character StudentRecord text.
std::string BuildStudentRecord(std::string_view studentnam, int studentnum, int classnum,
                               std::string_view studentpwd);

// The lowest class number 1, 2, ... not in use (freed numbers are reused).
int NewClassNumber(Folder& folder, Status* status);
// The lowest student number of the class not in use.
int NewStudentNumber(Folder& folder, int classnum, Status* status);

// The items of a class list: every ClassRecord whole, in file order. When a
// record's class number reads 0 or less the filling stops there and
// `bad_class_number` is set (the windows then show "Class number <=0!" and
// end the program).
struct ClassList {
  std::vector<std::string> items;
  bool bad_class_number = false;
};
Status FillClassList(Folder& folder, ClassList* list);

// The items of the roster list of a class: every StudentRecord of that class
// whole, in file order; none when classnum is not above 0.
Status FillRosterList(Folder& folder, int classnum, std::vector<std::string>* items);

// STUDENTS.DAT read once, for many name lookups within one action: the same
// answers as LookupStudentName for the file as it was when loaded.
class Roster {
 public:
  Status Load(Folder& folder);
  // As LookupStudentName: the 21-character name field, or "" when absent.
  const std::string& Name(int classnum, int studentnum) const;

 private:
  std::map<std::pair<int, int>, std::string> names_;
};

}  // namespace quillon

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
// Numbers are read by the numeric rule of base/Text.h (Val, ValInt).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/RecordFile.h"

namespace quillon {

inline constexpr char kClassesFile[] = "CLASSES.DAT";
inline constexpr char kStudentsFile[] = "STUDENTS.DAT";

// The largest class number, and the most students a class can hold: both
// numbers are stored in two characters.
inline constexpr int kMaxNumber = 99;

// The widths of the name fields: what a class or student name box lets in.
inline constexpr int kClassNameWidth = 27;
inline constexpr int kStudentNameWidth = 21;

// Reading rules of a ClassRecord.
int ClassNumberOf(std::string_view class_record);      // ValInt of 31-32
double PassingGradeOf(std::string_view class_record);  // Val of 28-30 trimmed if numeric, else 60
std::string ClassDisplayName(std::string_view class_record);  // first 25, trimmed

// The 32-character ClassRecord of a new class: the name left-justified in 27,
// the grade "060" and the number left-justified in 2.
std::string BuildClassRecord(std::string_view classnam, int classnum);

// Reading rules of a StudentRecord.
int StudentClassNumberOf(std::string_view student_record);        // ValInt of 24-25
int StudentNumberOf(std::string_view student_record);             // ValInt of 22-23
std::string StudentDisplayName(std::string_view student_record);  // first 21, trimmed
std::string StudentPasswordOf(std::string_view student_record);   // unscrambled 26-31

// The 31-character StudentRecord text.
std::string BuildStudentRecord(std::string_view studentnam, int studentnum, int classnum,
                               std::string_view studentpwd);

// The lookups below work on the records as read (store/Read.h reads the
// files, finishing what a crash left pending first, and offers each of them
// on the folder too).

// Whether some ClassRecord has that class number.
bool ClassNumberInUse(const RecordSet& classes, int classnum);

// The 21-character name field of the first roster record of that class and
// student; the empty text (not 21 blanks) when there is none.
std::string LookupStudentName(const RecordSet& students, int classnum, int studentnum);

// The lowest class number from 1 up that no class record carries (freed
// numbers are reused), or 0 when 1 to 99 are all taken.
int NewClassNumber(const RecordSet& classes);
// The lowest free student number of the class, or 0 when 1 to 99 are taken.
int NewStudentNumber(const RecordSet& students, int classnum);

// The items of a class list: every ClassRecord whole, in file order. When a
// record's class number reads 0 or less the filling stops there and
// `bad_class_number` is set (the windows then show "Class number <=0!" and
// end the program).
struct ClassList {
  std::vector<std::string> items;
  bool bad_class_number = false;
};
ClassList FillClassList(const RecordSet& classes);

// The items of the roster list of a class: every StudentRecord of that class
// whole, in file order; none when classnum is not above 0.
std::vector<std::string> FillRosterList(const RecordSet& students, int classnum);

// STUDENTS.DAT as read once, for many name lookups within one action: the
// same answers as LookupStudentName.
class Roster {
 public:
  void Load(const RecordSet& students);
  // As LookupStudentName: the 21-character name field, or "" when absent.
  const std::string& Name(int classnum, int studentnum) const;

 private:
  std::unordered_map<long long, std::string> names_;  // by classnum * 65536 + studentnum
};

}  // namespace quillon

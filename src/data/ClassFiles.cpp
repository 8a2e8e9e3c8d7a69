#include "data/ClassFiles.h"

#include <array>

#include "base/Password.h"
#include "base/Text.h"

namespace quillon {
namespace {

long long PairKey(int classnum, int studentnum) { return classnum * 65536LL + studentnum; }

// The lowest number 1-99 not in `used`, or 0 when all are.
int LowestFree(const std::array<bool, kMaxNumber + 1>& used) {
  for (int n = 1; n <= kMaxNumber; ++n) {
    if (!used[static_cast<std::size_t>(n)]) return n;
  }
  return 0;
}

}  // namespace

int ClassNumberOf(std::string_view r) { return ValInt(Field(r, 31, 2)); }

double PassingGradeOf(std::string_view r) {
  std::string_view grade = Field(r, 28, 3);
  return IsNumeric(grade) ? Val(Trim(grade)) : 60;
}

std::string ClassDisplayName(std::string_view r) { return Trim(r.substr(0, 25)); }

std::string BuildClassRecord(std::string_view classnam, int classnum) {
  return FixWidth(classnam, 27) + "060" + FixWidth(std::to_string(classnum), 2);
}

int StudentClassNumberOf(std::string_view r) { return ValInt(Field(r, 24, 2)); }
int StudentNumberOf(std::string_view r) { return ValInt(Field(r, 22, 2)); }
std::string StudentDisplayName(std::string_view r) { return Trim(r.substr(0, 21)); }
std::string StudentPasswordOf(std::string_view r) { return UnscramblePassword(Field(r, 26, 6)); }

std::string BuildStudentRecord(std::string_view studentnam, int studentnum, int classnum,
                               std::string_view studentpwd) {
  return FixWidth(studentnam, 21) + FixWidth(std::to_string(studentnum), 2) +
         FixWidth(std::to_string(classnum), 2) + FixWidth(ScramblePassword(studentpwd), 6);
}

std::string LookupStudentName(const RecordSet& students, int classnum, int studentnum) {
  for (std::size_t i = 0; i < students.Count(); ++i) {
    std::string_view r = students.At(i);
    if (StudentClassNumberOf(r) == classnum && StudentNumberOf(r) == studentnum) {
      return NameField(r);
    }
  }
  return std::string();
}

// Both are what counting up from 1 while the number is in use gives.
int NewClassNumber(const RecordSet& classes) {
  std::array<bool, kMaxNumber + 1> used{};
  for (std::size_t i = 0; i < classes.Count(); ++i) {
    const int n = ClassNumberOf(classes.At(i));
    if (n >= 1 && n <= kMaxNumber) used[static_cast<std::size_t>(n)] = true;
  }
  return LowestFree(used);
}

int NewStudentNumber(const RecordSet& students, int classnum) {
  std::array<bool, kMaxNumber + 1> used{};
  for (std::size_t i = 0; i < students.Count(); ++i) {
    std::string_view r = students.At(i);
    const int n = StudentNumberOf(r);
    if (StudentClassNumberOf(r) == classnum && n >= 1 && n <= kMaxNumber) {
      used[static_cast<std::size_t>(n)] = true;
    }
  }
  return LowestFree(used);
}

ClassList FillClassList(const RecordSet& classes) {
  ClassList list;
  for (std::size_t i = 0; i < classes.Count(); ++i) {
    if (ClassNumberOf(classes.At(i)) <= 0) {
      list.bad_class_number = true;
      break;
    }
    list.items.emplace_back(classes.At(i));
  }
  return list;
}

std::vector<std::string> FillRosterList(const RecordSet& students, int classnum) {
  std::vector<std::string> items;
  if (classnum <= 0) return items;
  for (std::size_t i = 0; i < students.Count(); ++i) {
    if (StudentClassNumberOf(students.At(i)) == classnum) items.emplace_back(students.At(i));
  }
  return items;
}

void Roster::Load(const RecordSet& students) {
  names_.clear();
  for (std::size_t i = 0; i < students.Count(); ++i) {
    std::string_view r = students.At(i);
    // emplace keeps the first record of a pair, as the lookup does.
    names_.emplace(PairKey(StudentClassNumberOf(r), StudentNumberOf(r)), NameField(r));
  }
}

const std::string& Roster::Name(int classnum, int studentnum) const {
  static const std::string kNone;
  auto it = names_.find(PairKey(classnum, studentnum));
  return it == names_.end() ? kNone : it->second;
}

bool ClassNumberInUse(const RecordSet& classes, int classnum) {
  for (std::size_t i = 0; i < classes.Count(); ++i) {
    if (ClassNumberOf(classes.At(i)) == classnum) return true;
  }
  return false;
}

}  // namespace quillon

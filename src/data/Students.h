// "Which students" an erase, a count or a deletion concerns: one student of
// a class, every student of a class, or every class. Class and student
// numbers are different types, so a call with the two swapped, or with
// bare integers, does not compile.
#pragma once

#include <string_view>

namespace quillon {

struct ClassNum {
  explicit constexpr ClassNum(int v) : value(v) {}
  int value;
};
struct StudentNum {
  explicit constexpr StudentNum(int v) : value(v) {}
  int value;
};

class Students {
 public:
  static constexpr Students EveryClass() { return Students(0, 0); }
  static constexpr Students WholeClass(ClassNum c) { return Students(c.value, 0); }
  static constexpr Students One(ClassNum c, StudentNum s) { return Students(c.value, s.value); }

  bool every_class() const { return classnum_ == 0; }
  bool whole_class() const { return classnum_ != 0 && studentnum_ == 0; }
  int classnum() const { return classnum_; }      // 0 for every class
  int studentnum() const { return studentnum_; }  // 0 for a whole class or every class
  // Numbers below 0 name nobody: such a value selects no record and any
  // removal refuses it.
  bool valid() const { return classnum_ >= 0 && studentnum_ >= 0; }
  // Whether the record with these numbers is among them.
  bool Holds(int classnum, int studentnum) const {
    if (every_class()) return true;
    return classnum == classnum_ && (studentnum_ == 0 || studentnum == studentnum_);
  }

 private:
  constexpr Students(int c, int s) : classnum_(c), studentnum_(s) {}
  int classnum_;
  int studentnum_;
};

}  // namespace quillon

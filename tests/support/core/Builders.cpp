#include "support/core/Builders.h"

#include "base/Text.h"

namespace quillon::testing {

std::string ClassRec(std::string_view name, std::string_view grade, std::string_view number) {
  return FixWidth(name, 27) + FixWidth(grade, 3) + FixWidth(number, 2);
}

std::string StudentRec(std::string_view name, std::string_view student, std::string_view cls,
                       std::string_view stored_password) {
  return FixWidth(name, 21) + FixWidth(student, 2) + FixWidth(cls, 2) +
         FixWidth(stored_password, 6);
}

std::string ActRec(std::string_view code, std::string_view cls, std::string_view stu,
                   std::string_view mmddyy, std::string_view unit, std::string_view lesson,
                   std::string_view attempted, std::string_view correct, std::string_view minutes) {
  return FixWidth(code, 2) + FixWidth(cls, 2) + FixWidth(stu, 2) + FixWidth(mmddyy, 6) +
         FixWidth(unit, 2) + FixWidth(lesson, 2) + FixWidth(attempted, 3) + FixWidth(correct, 3) +
         FixWidth(minutes, 3);
}

std::string DiagRec(std::string_view code, std::string_view cls, std::string_view stu,
                    std::string_view date, std::string_view answers, std::string_view key) {
  return FixWidth(code, 2) + FixWidth(cls, 2) + FixWidth(stu, 2) + FixWidth(date, 6) +
         FixWidth(answers, 30) + FixWidth(key, 30);
}

std::string MinimalLessons() {
  std::string text;
  auto units = [&](int c) {
    std::string n = std::to_string(c);
    text += "\"C" + n + " heading\",1,1,\"C" + n + " U1\",\"C" + n + " U1 L1\"\r\n";
  };
  auto list = [&](int c) {
    std::string n = std::to_string(c);
    text += "\"P" + n + " heading\",1,\"P" + n + " L1\"\r\n";
  };
  for (int c = 1; c <= 6; ++c) units(c);
  for (int c = 1; c <= 6; ++c) list(c);
  units(7);
  list(7);
  units(8);
  return text;
}

}  // namespace quillon::testing

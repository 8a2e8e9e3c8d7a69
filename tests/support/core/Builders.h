// Hand-made record bytes for the tests, field by field.
#pragma once

#include <string>
#include <string_view>

namespace quillon::testing {

// A 32-character ClassRecord: name in 27, grade in 3, number in 2 (all texts
// as given, so tests can put bad bytes in any field).
std::string ClassRec(std::string_view name, std::string_view grade, std::string_view number);
// A 31-character StudentRecord; the password field is taken as stored.
std::string StudentRec(std::string_view name, std::string_view student, std::string_view cls,
                       std::string_view stored_password = "");
// A 25-character ActivityRecord.
std::string ActRec(std::string_view code, std::string_view cls, std::string_view stu,
                   std::string_view mmddyy, std::string_view unit, std::string_view lesson,
                   std::string_view attempted, std::string_view correct, std::string_view minutes);
// A 72-character DiagRecord.
std::string DiagRec(std::string_view code, std::string_view cls, std::string_view stu,
                    std::string_view date, std::string_view answers, std::string_view key);

// A LESSONS.DAT text with every block present and small: every "C" course has
// one unit of one lesson and every "P" course one lesson, titled by course
// ("C3 U1", "C3 U1 L1", "P3 L1").
std::string MinimalLessons();

}  // namespace quillon::testing

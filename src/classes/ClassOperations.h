// The file operations behind the classes and rosters window: adding,
// renaming and deleting classes and students, and storing a class's passing
// grade. Every change is made in place in CLASSES.DAT and STUDENTS.DAT (a
// deletion through the crash-safe removal of data/Purge.h) and forced to
// disk before the call returns.
#pragma once

#include <string>
#include <string_view>

#include "data/Purge.h"
#include "platform/Folder.h"

namespace quillon {

// Why a typed name or password cannot be stored, or "" when it can: the
// tutoring lessons read the files byte by byte, so a control character (a
// line break, a tab, a NUL) would break the record for them.
std::string UnstorableText(std::string_view text);

// Appends class `classnum` (from NewClassNumber, 1-99) named `classnam` as
// typed, with the passing grade "060".
Status FileAddClass(Folder& folder, std::string_view classnam, int classnum);

// Renames every class record of number `classnum` (characters 1-27).
Status FileEditClass(Folder& folder, int classnum, std::string_view Newclassnam);

// Stores `grade` (50-100) as the passing grade of every class record of
// number `classnum` (characters 28-30, three digits).
Status FileChangePassingGrade(Folder& folder, int classnum, int grade);

// Removes class `classnum` and its students; 0 removes all classes and all
// students. Activity records are the caller's (PurgeRecords); Diag.dat is
// never touched.
// `*removed` (may be null) receives how many class and roster records went.
Status FileDeleteClass(Folder& folder, int classnum, const RewriteOptions& options = {},
                       std::size_t* removed = nullptr);

// Appends a student to class `classnum` as student `studentnum` (from
// NewStudentNumber): the name trimmed, the password scrambled.
Status FileAddStudent(Folder& folder, std::string_view studentnam, int classnum, int studentnum,
                      std::string_view studentpwd);

// Rewrites the name and password of student (classnum, studentnum); the
// numbers stay, so the student's activity records stay attached.
Status FileEditStudent(Folder& folder, int classnum, int studentnum, std::string_view studentnam,
                       std::string_view studentpwd);

// Removes one student, every student of a class (studentnum 0), or every
// student of every class (classnum 0). A negative studentnum changes
// nothing and is an error.
// `*removed` (may be null) receives how many roster records went.
Status FileDeleteStudent(Folder& folder, int studentnum, int classnum,
                         const RewriteOptions& options = {}, std::size_t* removed = nullptr);

}  // namespace quillon

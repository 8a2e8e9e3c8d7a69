// The file operations behind the classes and rosters window: adding,
// renaming and deleting classes and students, and storing a class's passing
// grade. Every change holds the folder's lock, is made in place in
// CLASSES.DAT and STUDENTS.DAT through the store (journaled; a deletion
// through the crash-safe removal of store/Removal.h) and is on disk before
// the call returns. A new class's or student's number is chosen under the
// lock, right before the record is written: two computers adding at once
// never give one number twice.
#pragma once

#include <string>
#include <string_view>

#include "data/Students.h"
#include "platform/Folder.h"
#include "store/Lock.h"
#include "store/Removal.h"

namespace quillon {

// Why a typed name or password cannot be stored, or "" when it can: the
// tutoring lessons read the files byte by byte, so a control character (a
// line break, a tab, a NUL) would break the record for them.
std::string UnstorableText(std::string_view text);

// Appends a class named `classnam` as typed, with the passing grade "060",
// under the lowest free class number; `*classnum` receives it. Fails
// (StatusCode::kRefused) when 1 to 99 are all taken.
Status FileAddClass(Folder& folder, std::string_view classnam, int* classnum);

// Renames every class record of number `classnum` (characters 1-27).
Status FileEditClass(Folder& folder, int classnum, std::string_view Newclassnam);

// Stores `grade` (50-100) as the passing grade of every class record of
// number `classnum` (characters 28-30, three digits).
Status FileChangePassingGrade(Folder& folder, int classnum, int grade);

// Appends a student to class `classnum` under the lowest free student
// number of the class (`*studentnum` receives it): the name trimmed, the
// password scrambled. Fails (StatusCode::kRefused) when the class holds 99.
Status FileAddStudent(Folder& folder, std::string_view studentnam, int classnum,
                      std::string_view studentpwd, int* studentnum);

// Rewrites the name and password of student (classnum, studentnum); the
// numbers stay, so the student's activity records stay attached.
Status FileEditStudent(Folder& folder, int classnum, int studentnum, std::string_view studentnam,
                       std::string_view studentpwd);

// Under the lock: removes the class records of `who` (a whole class, or
// every class) and their students. Activity records are the caller's
// (PurgeRecords); Diag.dat is never touched. `*removed` (may be null)
// receives how many class and roster records went.
Status FileDeleteClass(Folder& folder, const LockToken& lock, const Students& who,
                       const RemovalOptions& options = {}, std::size_t* removed = nullptr);

// Under the lock: removes the roster records of `who`.
Status FileDeleteStudent(Folder& folder, const LockToken& lock, const Students& who,
                         const RemovalOptions& options = {}, std::size_t* removed = nullptr);

}  // namespace quillon

// Importing a class's students from a roster file: which columns hold the
// names and passwords, what each row of the file will become (the preview),
// the passwords kept or made up, and the one write that adds the students.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "classes/RosterText.h"
#include "platform/Folder.h"
#include "platform/Random.h"

namespace quillon {

// The columns of a roster file, found by the words of its heading row (in any
// case, blanks and underscores ignored): "Name", "Student", "Student name" or
// "Full name"; else "First name"/"Given name" and "Last name"/"Surname"/
// "Family name"; and "Password" or "PIN". Without a heading row the first
// column is the name and there is no password. -1: no such column.
struct RosterColumns {
  bool heading = false;  // the first row is the heading (not a student)
  int name = 0;
  int first = -1;
  int last = -1;
  int password = -1;
};
RosterColumns FindRosterColumns(const RosterTable& table);

// What the import does with a row, and its text in the preview.
enum class ImportAction { kAdd, kAlreadyInClass, kNoName, kCannotBeStored, kClassFull };
const char* ImportActionText(ImportAction action);  // "add", "already in this class", ...

struct ImportRow {
  int line = 0;
  std::string name;        // as stored (at most 21 characters, single-byte); a character
                           // that cannot be stored is shown as '?'
  bool cut = false;        // the name was longer than 21 characters
  std::string password;    // as stored, before scrambling; "" for a row not added
  bool generated = false;  // the password was made up
  int number = 0;          // the student number it gets; 0 for a row not added
  ImportAction action = ImportAction::kAdd;
};

// A row of the preview as one line of tab-separated fields: the line number,
// the name as stored (followed by " (cut)" when it was cut), the password,
// the student number (blank for a row not added) and what will happen.
std::string PreviewLine(const ImportRow& row);

struct ImportPreview {
  int classnum = 0;
  std::vector<ImportRow> rows;  // in file order
  int Added() const;
  int Skipped() const { return static_cast<int>(rows.size()) - Added(); }
};

// The characters of generated passwords: A-Z and 2-9 without I, O, 0 and 1,
// which are easily taken for each other. 32 of them, so one random byte's
// low five bits pick one without bias.
inline constexpr char kPasswordAlphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
inline constexpr int kGeneratedPasswordLength = 6;

// The password to store for a given one: 1 to 6 letters and digits, letters
// taken as capitals ("ab12" -> "AB12"); "" when it cannot be kept.
std::string KeptPassword(std::u32string_view given);

// What importing `table` into class `classnum` would do, against the class's
// roster records `roster` (whole 31-character records): names as stored,
// passwords kept or made up from `random` (never two alike in the class),
// the lowest free numbers in file order, and the reason for every row that
// is skipped. Fails only when `random` does.
Status PlanImport(const RosterTable& table, int classnum, const std::vector<std::string>& roster,
                  RandomSource& random, ImportPreview* preview);

// PlanImport against STUDENTS.DAT as it is now.
Status BuildImportPreview(Folder& folder, const RosterTable& table, int classnum,
                          RandomSource& random, ImportPreview* preview);

// Adds the preview's students to STUDENTS.DAT, each record exactly as the
// student dialog's add writes it, all in one write at the end of the file,
// in file order. Nothing is written when the class is no longer in
// CLASSES.DAT, when the roster has changed so that a number or a name of the
// preview is taken, or when the file cannot be written (then the file is
// left as it was). `*added` (may be null) is the number of students written.
Status FileImportStudents(Folder& folder, const ImportPreview& preview, int* added);

}  // namespace quillon

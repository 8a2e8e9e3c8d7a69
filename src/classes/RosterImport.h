// Importing a class's students from a roster file: which columns hold the
// names and passwords, what each row of the file will become (the preview),
// the passwords kept or made up, and the one write that adds the students.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "classes/RosterText.h"
#include "platform/Folder.h"
#include "platform/Random.h"

namespace quillon {

// The columns of a roster file, found by the words of its heading row (in any
// case, accents, blanks, underscores, hyphens and full stops ignored), in
// English, French, Spanish, German, Dutch, Italian, Portuguese and Polish:
//   the name:        "Name", "Student", "Student name", "Full name", "Pupil"...
//   first and last:  "First name"/"First"/"Given name"/"Forename"/"Prénom"/
//                    "Nombre"/"Vorname", and "Last name"/"Last"/"Surname"/
//                    "Family name"/"Nom"/"Apellido(s)"/"Nachname" (stored as
//                    "First Last"); or both in one column, "Last name, First
//                    name", whose "Smith, Ann" is stored as "Ann Smith";
//   the password:    "Password", "PIN", "Mot de passe", "Contraseña"...;
//   and columns that are recognised only to be left out: ID and number
//   columns ("Student ID", "No.", "Matricule"...), "Class", "Period",
//   "Grade", "Email"...
// A row holding any of these words is the heading row; it is never imported
// as a student. With a heading row but no name column, the name is the first
// column not recognised as another. Without a heading row the first column
// is the name and there is no password; the first row is still taken as a
// heading when it is plainly one (a column holding a number on every other
// row but not on the first). -1: no such column; columns count from 0.
struct RosterColumns {
  bool heading = false;     // the first row is the heading (not a student)
  bool recognised = false;  // ... known by its words, not guessed
  int name = 0;             // the name, or with `first` the last name
  int first = -1;           // the first name
  int password = -1;
  bool last_first = false;  // the name column holds "Last, First"
};
RosterColumns FindRosterColumns(const RosterTable& table);

// The columns a user chose (frmImport's column boxes, quillon-cli's
// --name-column, --first-column and --password-column), from 0. With a
// `first` column, `name` holds the last names. Unset parts keep what
// FindRosterColumns found.
struct RosterColumnChoice {
  std::optional<int> name;
  std::optional<int> first;     // -1: none
  std::optional<int> password;  // -1: none
  // Whether the first row is a heading; a recognised heading row always is.
  std::optional<bool> heading;
  bool empty() const { return !name && !first && !password && !heading; }
};
RosterColumns ChooseRosterColumns(const RosterTable& table, const RosterColumnChoice& choice);

// The number of columns of the widest row.
int RosterColumnCount(const RosterTable& table);

// What the import does with a row, and its text in the preview.
enum class ImportAction { kAdd, kAlreadyInClass, kNoName, kCannotBeStored, kClassFull };
const char* ImportActionText(ImportAction action);  // "add", "already in this class", ...

struct ImportRow {
  int line = 0;
  std::string name;        // as stored (at most 21 characters, single-byte); a character
                           // without a storable spelling is shown as '?'
  bool cut = false;        // the name was longer than 21 characters
  std::string password;    // as stored, before scrambling; "" for a row not added
  bool generated = false;  // the password was made up
  int number = 0;          // the student number it gets; 0 for a row not added
  ImportAction action = ImportAction::kAdd;
  // Why the name is stored otherwise than the file spells it, or cannot be:
  // "ş written as s", "王 cannot be stored", "a letter may be lost" (a "?"
  // in the file, which a spreadsheet may have left for a lost letter).
  std::u32string reason;
  bool letter_lost = false;  // the file's name holds a "?"
};

// A row of the preview as one line of tab-separated fields: the line number,
// the name as stored (followed by " (cut)" when it was cut), the password,
// the student number (blank for a row not added), what will happen and the
// reason (a character beyond the single-byte ones written as U+015F).
std::string PreviewLine(const ImportRow& row);

struct ImportPreview {
  int classnum = 0;
  std::vector<ImportRow> rows;  // in file order
  RosterColumns columns;        // the columns the rows were read from
  int Added() const;
  int Skipped() const { return static_cast<int>(rows.size()) - Added(); }
  int LettersLost() const;  // rows added whose name may have lost a letter
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
// The columns are those FindRosterColumns finds, as `choice` changes them.
Status PlanImport(const RosterTable& table, int classnum, const std::vector<std::string>& roster,
                  RandomSource& random, ImportPreview* preview,
                  const RosterColumnChoice& choice = {});

// PlanImport against STUDENTS.DAT as it is now.
Status BuildImportPreview(Folder& folder, const RosterTable& table, int classnum,
                          RandomSource& random, ImportPreview* preview,
                          const RosterColumnChoice& choice = {});

// Adds the preview's students to STUDENTS.DAT, each record exactly as the
// student dialog's add writes it, all in one write at the end of the file,
// in file order. Nothing is written when the class is no longer in
// CLASSES.DAT, when the roster has changed so that a number or a name of the
// preview is taken, or when the file cannot be written (then the file is
// left as it was). `*added` (may be null) is the number of students written.
Status FileImportStudents(Folder& folder, const ImportPreview& preview, int* added);

}  // namespace quillon

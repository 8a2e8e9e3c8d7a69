#include "classes/RosterImport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>

#include "base/StorableText.h"
#include "base/Text.h"
#include "data/ClassFiles.h"
#include "data/RecordFile.h"
#include "store/Append.h"
#include "store/Pending.h"
#include "store/Read.h"

namespace quillon {
namespace {

constexpr std::size_t kNameWidth = 21;

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == 0xA0; }

std::u32string TrimBlanks(std::u32string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::u32string(text.substr(begin, end - begin));
}

// A letter of a heading folded to a small ASCII letter ("É" -> "e", "ß" ->
// "ss"); "" for one no heading word holds.
std::string FoldedLetter(char32_t c) {
  // Latin-1's letters from U+00C0 on, without their marks.
  static constexpr const char* kLatin1[64] = {
      "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
      "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",
      "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
      "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y"};
  if (c >= U'A' && c <= U'Z') return std::string(1, static_cast<char>(c - U'A' + U'a'));
  if (c < 128) return std::string(1, static_cast<char>(c));
  if (c >= 0xC0 && c <= 0xFF) return kLatin1[c - 0xC0];
  std::string spelled = SpellingOf(c);
  if (spelled.size() != 1 || static_cast<unsigned char>(spelled[0]) >= 128) return std::string();
  return FoldedLetter(static_cast<unsigned char>(spelled[0]));
}

// A heading cell's words in small ASCII letters, without blanks, underscores,
// hyphens, full stops, brackets or colons ("First_Name" -> "firstname",
// "Prénom" -> "prenom", "Apellido(s)" -> "apellidos").
std::string HeadingWord(std::u32string_view cell) {
  std::string word;
  for (char32_t c : cell) {
    if (c == U' ' || c == U'_' || c == U'-' || c == U'.' || c == U'(' || c == U')' || c == U':' ||
        c == U'*' || IsBlank(c)) {
      continue;
    }
    const std::string letter = FoldedLetter(c);
    if (letter.empty()) return std::string();  // no heading word holds such a letter
    word += letter;
  }
  return word;
}

bool OneOf(const std::string& word, std::initializer_list<const char*> words) {
  for (const char* w : words) {
    if (word == w) return true;
  }
  return false;
}

// The heading words, folded as HeadingWord folds them.
// clang-format off
bool IsNameWord(const std::string& w) {
  return OneOf(w, {"name", "names", "student", "students", "studentname", "fullname",
                   "studentfullname", "pupil", "pupilname", "learner", "learnername", "nomcomplet",
                   "eleve", "nomeleve", "nombrecompleto", "alumno", "alumna", "estudiante",
                   "schuler", "schueler", "schulername", "naam", "leerling", "nomecompleto",
                   "studente", "alunno", "aluno", "imieinazwisko", "uczen"});
}
bool IsFirstWord(const std::string& w) {
  return OneOf(w, {"firstname", "firstnames", "first", "givenname", "givennames", "given",
                   "forename", "forenames", "preferredname", "prenom", "prenoms", "nombre",
                   "nombres", "vorname", "vornamen", "voornaam", "voornamen", "nome", "imie"});
}
bool IsLastWord(const std::string& w) {
  return OneOf(w, {"lastname", "lastnames", "last", "surname", "surnames", "familyname",
                   "nom", "nomdefamille", "apellido", "apellidos", "nachname", "familienname",
                   "achternaam", "cognome", "sobrenome", "apelido", "nazwisko"});
}
bool IsPasswordWord(const std::string& w) {
  return OneOf(w, {"password", "passwords", "pin", "pincode", "pinnumber", "passcode",
                   "motdepasse", "contrasena", "clave", "passwort", "kennwort", "wachtwoord",
                   "senha", "haslo"});
}
// Columns recognised only to be left out: numbers and IDs, classes and
// periods, and the other things a school's system puts beside a name.
bool IsOtherWord(const std::string& w) {
  return OneOf(w, {"id", "ids", "studentid", "studentnumber", "studentno", "studentnr",
                   "number", "no", "nr", "num", "#", "idnumber", "pupilid", "pupilnumber",
                   "learnerid", "upn", "sisid", "localid", "stateid", "matricule", "numero",
                   "numeroeleve", "identifiant", "nummer", "schulernummer", "schuelernummer",
                   "leerlingnummer", "matricola", "class", "classname", "period", "classe",
                   "clase", "klasse", "klas", "grade", "gradelevel", "level", "year",
                   "yeargroup", "section", "group", "groupe", "grupo", "gruppe", "homeroom",
                   "form", "tutorgroup", "course", "cours", "curso", "kurs", "periode",
                   "periodo", "stunde", "teacher", "email", "emailaddress", "mail", "username",
                   "login", "userid", "gender", "sex", "dob", "dateofbirth", "birthdate",
                   "birthday"});
}
// clang-format on

std::u32string FieldOf(const RosterRow& row, int column) {
  if (column < 0 || static_cast<std::size_t>(column) >= row.fields.size()) return {};
  return TrimBlanks(row.fields[static_cast<std::size_t>(column)]);
}

// "Ann Smith" from "Smith, Ann"; a name without a comma as it is.
std::u32string FirstLast(const std::u32string& last_first) {
  const std::size_t comma = last_first.find(U',');
  if (comma == std::u32string::npos) return last_first;
  const std::u32string last = TrimBlanks(std::u32string_view(last_first).substr(0, comma));
  const std::u32string first = TrimBlanks(std::u32string_view(last_first).substr(comma + 1));
  if (first.empty() || last.empty()) return first + last;
  return first + U' ' + last;
}

// The row's name as the columns give it: "First Last" from two columns.
std::u32string NameOf(const RosterRow& row, const RosterColumns& columns) {
  if (columns.name >= 0 && columns.first < 0) {
    const std::u32string name = FieldOf(row, columns.name);
    return columns.last_first ? FirstLast(name) : name;
  }
  std::u32string first = FieldOf(row, columns.first), last = FieldOf(row, columns.name);
  if (first.empty() || last.empty()) return first + last;
  return first + U' ' + last;
}

bool AllDigits(std::u32string_view text) {
  if (text.empty()) return false;
  for (char32_t c : text) {
    if (c < U'0' || c > U'9') return false;
  }
  return true;
}

// Whether an unrecognised first row is plainly a heading: a column that holds
// a number on every other row (of the first 50) that has it, at least two,
// but not on the first ("Code" over "10231", "10232").
bool LooksLikeHeading(const RosterTable& table) {
  if (table.rows.size() < 3) return false;
  const RosterRow& top = table.rows.front();
  const std::size_t last = std::min<std::size_t>(table.rows.size(), 51);
  for (std::size_t c = 0; c < top.fields.size(); ++c) {
    const int column = static_cast<int>(c);
    const std::u32string head = FieldOf(top, column);
    if (head.empty() || AllDigits(head)) continue;
    int numbers = 0;
    bool other = false;
    for (std::size_t r = 1; r < last && !other; ++r) {
      const std::u32string cell = FieldOf(table.rows[r], column);
      if (cell.empty()) continue;
      if (AllDigits(cell)) {
        ++numbers;
      } else {
        other = true;
      }
    }
    if (!other && numbers >= 2) return true;
  }
  return false;
}

// The first column that holds something other than numbers on the rows from
// `from` (of the first 50); 0 when there is none.
int FirstTextColumn(const RosterTable& table, std::size_t from) {
  const std::size_t last = std::min<std::size_t>(table.rows.size(), from + 50);
  for (int column = 0; column < RosterColumnCount(table); ++column) {
    for (std::size_t r = from; r < last; ++r) {
      const std::u32string cell = FieldOf(table.rows[r], column);
      if (!cell.empty() && !AllDigits(cell)) return column;
    }
  }
  return 0;
}

// The row's name in storable characters, with the reason it is stored so.
void SpellName(const std::u32string& name, ImportRow* row, bool* storable) {
  const StorableSpelling spelling = NearestStorable(name);
  *storable = spelling.storable();
  // A wide blank is written as a blank: trimmed like the others.
  const std::string bytes = Trim(spelling.bytes);
  row->cut = bytes.size() > kNameWidth;
  row->name = TrimRight(bytes.substr(0, kNameWidth));
  row->reason = SpellingReason(spelling);
  row->letter_lost = name.find(U'?') != std::u32string::npos;
  if (row->letter_lost) {
    if (!row->reason.empty()) row->reason += U"; ";
    row->reason += U"a letter may be lost";
  }
}

// A password made up from `random`, none of `taken`; fails when the source
// fails, or keeps repeating itself.
Status NewPassword(RandomSource& random, const std::set<std::string>& taken,
                   std::string* password) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::array<unsigned char, kGeneratedPasswordLength> bytes{};
    Status s = random.Fill(bytes.data(), bytes.size());
    if (!s.ok()) return s;
    password->clear();
    for (unsigned char b : bytes) password->push_back(kPasswordAlphabet[b & 31]);
    if (!taken.count(*password)) return Status::OK();
  }
  return Status::Error("the system's random source", "gives the same passwords again and again");
}

}  // namespace

RosterColumns FindRosterColumns(const RosterTable& table) {
  RosterColumns columns;
  if (table.rows.empty()) return columns;
  int name = -1, first = -1, last = -1, last_first = -1, password = -1;
  std::vector<bool> known;
  const std::vector<std::u32string>& cells = table.rows.front().fields;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int at = static_cast<int>(i);
    const auto take = [at](int& column) {
      if (column < 0) column = at;
      return true;
    };
    const std::string word = HeadingWord(cells[i]);
    // "Last name, First name" in one cell: the words either side of its comma.
    const std::size_t comma = cells[i].find(U',');
    bool found = false;
    if (comma != std::u32string::npos) {
      const std::u32string_view cell(cells[i]);
      found = IsLastWord(HeadingWord(cell.substr(0, comma))) &&
              IsFirstWord(HeadingWord(cell.substr(comma + 1))) && take(last_first);
    } else if (IsNameWord(word)) {
      found = take(name);
    } else if (IsFirstWord(word)) {
      found = take(first);
    } else if (IsLastWord(word)) {
      found = take(last);
    } else if (IsPasswordWord(word)) {
      found = take(password);
    } else {
      found = IsOtherWord(word);
    }
    known.push_back(found);
  }
  columns.recognised = std::find(known.begin(), known.end(), true) != known.end();
  columns.heading = columns.recognised || LooksLikeHeading(table);
  if (!columns.recognised) {
    columns.name = FirstTextColumn(table, columns.heading ? 1 : 0);
    return columns;
  }
  columns.password = password;
  if (name >= 0) {
    columns.name = name;
  } else if (last_first >= 0) {
    columns.name = last_first;
    columns.last_first = true;
  } else if (first >= 0 && last >= 0) {
    columns.name = last;
    columns.first = first;
  } else if (first >= 0 || last >= 0) {
    columns.name = first >= 0 ? first : last;
  } else {
    // The first column recognised as nothing else.
    const auto free = std::find(known.begin(), known.end(), false);
    columns.name = free == known.end() ? static_cast<int>(known.size())
                                       : static_cast<int>(free - known.begin());
  }
  return columns;
}

RosterColumns ChooseRosterColumns(const RosterTable& table, const RosterColumnChoice& choice) {
  RosterColumns columns = FindRosterColumns(table);
  if (choice.name && *choice.name >= 0) {
    columns.last_first = columns.last_first && *choice.name == columns.name;
    columns.name = *choice.name;
    columns.first = -1;
  }
  if (choice.first) {
    columns.first = *choice.first;
    if (columns.first >= 0) columns.last_first = false;
  }
  if (choice.password) columns.password = *choice.password;
  if (choice.heading && !columns.recognised) columns.heading = *choice.heading;
  return columns;
}

int RosterColumnCount(const RosterTable& table) {
  std::size_t widest = 0;
  for (const RosterRow& row : table.rows) widest = std::max(widest, row.fields.size());
  return static_cast<int>(widest);
}

const char* ImportActionText(ImportAction action) {
  switch (action) {
    case ImportAction::kAdd:
      return "add";
    case ImportAction::kAlreadyInClass:
      return "already in this class";
    case ImportAction::kNoName:
      return "no name";
    case ImportAction::kCannotBeStored:
      return "cannot be stored";
    case ImportAction::kClassFull:
      return "class is full";
  }
  return "";
}

std::string PreviewLine(const ImportRow& row) {
  std::string reason;
  for (char32_t c : row.reason) {
    if (c <= 0xFF) {
      reason += static_cast<char>(static_cast<unsigned char>(c));
    } else {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
      reason += code;
    }
  }
  return std::to_string(row.line) + '\t' + row.name + (row.cut ? " (cut)" : "") + '\t' +
         row.password + '\t' + (row.number > 0 ? std::to_string(row.number) : "") + '\t' +
         ImportActionText(row.action) + '\t' + reason;
}

int ImportPreview::Added() const {
  int n = 0;
  for (const ImportRow& row : rows) n += row.action == ImportAction::kAdd ? 1 : 0;
  return n;
}

int ImportPreview::LettersLost() const {
  int n = 0;
  for (const ImportRow& row : rows) n += row.action == ImportAction::kAdd && row.letter_lost;
  return n;
}

std::string KeptPassword(std::u32string_view given) {
  const std::u32string text = TrimBlanks(given);
  if (text.empty() || text.size() > 6) return std::string();
  std::string password;
  for (char32_t c : text) {
    if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
    if (!((c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9'))) return std::string();
    password += static_cast<char>(c);
  }
  return password;
}

Status PlanImport(const RosterTable& table, int classnum, const std::vector<std::string>& roster,
                  RandomSource& random, ImportPreview* preview, const RosterColumnChoice& choice) {
  preview->classnum = classnum;
  preview->rows.clear();
  std::array<bool, kMaxNumber + 1> used{};
  std::set<std::string> names, passwords;  // names as their 21-character fields
  for (const std::string& r : roster) {
    const int n = StudentNumberOf(r);
    if (n >= 1 && n <= kMaxNumber) used[static_cast<std::size_t>(n)] = true;
    names.insert(NameField(r));
    passwords.insert(StudentPasswordOf(r));
  }
  const RosterColumns columns = ChooseRosterColumns(table, choice);
  preview->columns = columns;
  int next = 1;
  std::vector<std::size_t> to_generate;
  for (std::size_t i = columns.heading ? 1 : 0; i < table.rows.size(); ++i) {
    const RosterRow& source = table.rows[i];
    ImportRow row;
    row.line = source.line;
    const std::u32string name = NameOf(source, columns);
    bool storable = false;
    SpellName(name, &row, &storable);
    while (next <= kMaxNumber && used[static_cast<std::size_t>(next)]) ++next;
    if (name.empty() || (storable && row.name.empty())) {
      row.action = ImportAction::kNoName;
    } else if (!storable) {
      row.action = ImportAction::kCannotBeStored;
    } else if (!names.insert(FixWidth(row.name, kNameWidth)).second) {
      row.action = ImportAction::kAlreadyInClass;
    } else if (next > kMaxNumber) {
      row.action = ImportAction::kClassFull;
    } else {
      row.action = ImportAction::kAdd;
      row.number = next;
      used[static_cast<std::size_t>(next)] = true;
      row.password = KeptPassword(FieldOf(source, columns.password));
      if (row.password.empty()) {
        to_generate.push_back(preview->rows.size());
      } else {
        passwords.insert(row.password);
      }
    }
    preview->rows.push_back(std::move(row));
  }
  // Made up last, so that none equals a password kept further down the file.
  for (std::size_t at : to_generate) {
    ImportRow& row = preview->rows[at];
    Status s = NewPassword(random, passwords, &row.password);
    if (!s.ok()) return s;
    row.generated = true;
    passwords.insert(row.password);
  }
  return Status::OK();
}

Status BuildImportPreview(Folder& folder, const RosterTable& table, int classnum,
                          RandomSource& random, ImportPreview* preview,
                          const RosterColumnChoice& choice) {
  std::vector<std::string> roster;
  Status s = FillRosterList(folder, classnum, &roster);
  if (!s.ok()) return s;
  return PlanImport(table, classnum, roster, random, preview, choice);
}

Status FileImportStudents(Folder& folder, const ImportPreview& preview, int* added) {
  if (added != nullptr) *added = 0;
  const int classnum = preview.classnum;
  // The class and its roster read again under the lock, right before the
  // write: another computer may have added students since the preview.
  return WithLock(folder, StoreFileOf(kStudentsFile), [&](const LockToken& lock) {
    std::string class_bytes, student_bytes;
    Status s = folder.ReadFile(kClassesFile, &class_bytes);
    if (s.ok()) s = folder.ReadFile(kStudentsFile, &student_bytes);
    if (!s.ok()) return s;
    const RecordSet classes(std::move(class_bytes), kClassRecordLength);
    if (!ClassNumberInUse(classes, classnum) || classnum < 1 || classnum > kMaxNumber) {
      return Status::Error(StatusCode::kNotFound, kClassesFile,
                           "class " + std::to_string(classnum) +
                               " is not there any more; nobody was added");
    }
    const std::vector<std::string> roster =
        FillRosterList(RecordSet(std::move(student_bytes), kStudentRecordLength), classnum);
    std::set<int> numbers;
    std::set<std::string> names;
    for (const std::string& r : roster) {
      numbers.insert(StudentNumberOf(r));
      names.insert(NameField(r));
    }
    std::string records;
    int count = 0;
    for (const ImportRow& row : preview.rows) {
      if (row.action != ImportAction::kAdd) continue;
      if (row.number < 1 || row.number > kMaxNumber || !numbers.insert(row.number).second ||
          !names.insert(FixWidth(row.name, kNameWidth)).second) {
        return Status::Error(StatusCode::kRefused, kStudentsFile,
                             "the class's roster has changed since the preview; nobody was added");
      }
      records += BuildStudentRecord(row.name, row.number, classnum, row.password);
      ++count;
    }
    if (count == 0) return Status::OK();
    s = AppendRecords(folder, lock, kStudentsFile, records);
    if (s.ok() && added != nullptr) *added = count;
    return s;
  });
}

}  // namespace quillon

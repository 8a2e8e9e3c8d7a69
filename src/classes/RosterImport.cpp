#include "classes/RosterImport.h"

#include <array>
#include <set>

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

// A heading cell's words in small letters, without blanks, underscores,
// hyphens or full stops ("First_Name" -> "firstname").
std::string HeadingWord(std::u32string_view cell) {
  std::string word;
  for (char32_t c : cell) {
    if (c == U' ' || c == U'_' || c == U'-' || c == U'.' || IsBlank(c)) continue;
    if (c > 127) return std::string();  // no heading word holds such a letter
    word += static_cast<char>(c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c);
  }
  return word;
}

bool OneOf(const std::string& word, std::initializer_list<const char*> words) {
  for (const char* w : words) {
    if (word == w) return true;
  }
  return false;
}

std::u32string FieldOf(const RosterRow& row, int column) {
  if (column < 0 || static_cast<std::size_t>(column) >= row.fields.size()) return {};
  return TrimBlanks(row.fields[static_cast<std::size_t>(column)]);
}

// The row's name as the columns give it: "First Last" from two columns.
std::u32string NameOf(const RosterRow& row, const RosterColumns& columns) {
  if (columns.name >= 0) return FieldOf(row, columns.name);
  std::u32string first = FieldOf(row, columns.first), last = FieldOf(row, columns.last);
  if (first.empty() || last.empty()) return first + last;
  return first + U' ' + last;
}

// The single-byte form of `text`; false when a character has none, or is a
// control character (the lessons read the roster byte by byte), each such
// character then shown as '?'.
bool SingleByte(std::u32string_view text, std::string* out) {
  bool storable = true;
  out->clear();
  for (char32_t c : text) {
    const bool control = c < 32 || c == 127 || (c >= 0x80 && c <= 0x9F);
    if (c > 0xFF || control) {
      storable = false;
      *out += '?';
    } else {
      *out += static_cast<char>(static_cast<unsigned char>(c));
    }
  }
  return storable;
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
  int name = -1, first = -1, last = -1, password = -1;
  const std::vector<std::u32string>& cells = table.rows.front().fields;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::string word = HeadingWord(cells[i]);
    const int at = static_cast<int>(i);
    const auto take = [at](int& column) {
      if (column < 0) column = at;
    };
    if (OneOf(word, {"name", "student", "studentname", "fullname"})) take(name);
    if (OneOf(word, {"firstname", "givenname"})) take(first);
    if (OneOf(word, {"lastname", "surname", "familyname"})) take(last);
    if (OneOf(word, {"password", "pin"})) take(password);
  }
  columns.heading = name >= 0 || first >= 0 || last >= 0 || password >= 0;
  if (!columns.heading) return columns;
  columns.password = password;
  if (name >= 0) {
    columns.name = name;
  } else if (first >= 0 || last >= 0) {
    columns.name = -1;
    columns.first = first;
    columns.last = last;
  } else {
    columns.name = password == 0 ? 1 : 0;  // the first column that is not the password's
  }
  return columns;
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
  return std::to_string(row.line) + '\t' + row.name + (row.cut ? " (cut)" : "") + '\t' +
         row.password + '\t' + (row.number > 0 ? std::to_string(row.number) : "") + '\t' +
         ImportActionText(row.action);
}

int ImportPreview::Added() const {
  int n = 0;
  for (const ImportRow& row : rows) n += row.action == ImportAction::kAdd ? 1 : 0;
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
                  RandomSource& random, ImportPreview* preview) {
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
  const RosterColumns columns = FindRosterColumns(table);
  int next = 1;
  std::vector<std::size_t> to_generate;
  for (std::size_t i = columns.heading ? 1 : 0; i < table.rows.size(); ++i) {
    const RosterRow& source = table.rows[i];
    ImportRow row;
    row.line = source.line;
    const std::u32string name = NameOf(source, columns);
    std::string bytes;
    const bool storable = SingleByte(name, &bytes);
    row.cut = bytes.size() > kNameWidth;
    row.name = TrimRight(bytes.substr(0, kNameWidth));
    while (next <= kMaxNumber && used[static_cast<std::size_t>(next)]) ++next;
    if (name.empty()) {
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
                          RandomSource& random, ImportPreview* preview) {
  std::vector<std::string> roster;
  Status s = FillRosterList(folder, classnum, &roster);
  if (!s.ok()) return s;
  return PlanImport(table, classnum, roster, random, preview);
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

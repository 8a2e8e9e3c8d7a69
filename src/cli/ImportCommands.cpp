#include "cli/ImportCommands.h"

#include <optional>

#include "classes/LoginSlips.h"
#include "classes/RosterImport.h"
#include "cli/CommandExit.h"
#include "data/ClassFiles.h"

namespace quillon {
namespace {

using cli::Check;
using cli::Exit;
using cli::Fail;
using cli::Help;

// A whole number from 1 to 99.
int Number(const std::string& option, const std::string& value) {
  if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != value.npos ||
      std::stoi(value) < 1) {
    throw Exit{2, option + " takes a whole number from 1 to 99, not \"" + value + "\""};
  }
  return std::stoi(value);
}

// A column of the roster file as --name-column and the like give it: a whole
// number from 1.
int ColumnNumber(const std::string& option, const std::string& value) {
  if (value.empty() || value.size() > 4 || value.find_first_not_of("0123456789") != value.npos ||
      std::stoi(value) < 1) {
    throw Exit{2, option + " takes a column number from 1, not \"" + value + "\""};
  }
  return std::stoi(value);
}

// The command's options: --class (required), --student, the switch --yes
// where `yes` allows it, and one file where `file` asks for it; for import,
// the columns chosen (from 1).
struct Line {
  int classnum = 0;
  std::optional<int> studentnum;
  bool yes = false;
  std::string file;
  std::optional<int> name_column, first_column, password_column;
};
Line Parse(const std::vector<std::string>& args, bool import) {
  Line line;
  std::optional<std::string> classnum;
  std::optional<std::string> file;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help") throw Help{};
    if (a == "--class" || (!import && a == "--student")) {
      if (i + 1 >= args.size()) throw Exit{2, a + " needs a value", true};
      const int n = Number(a, args[++i]);
      if (a == "--class") {
        if (classnum) throw Exit{2, "--class is given twice", true};
        classnum = args[i];
        line.classnum = n;
      } else {
        if (line.studentnum) throw Exit{2, "--student is given twice", true};
        line.studentnum = n;
      }
    } else if (import && a == "--yes") {
      line.yes = true;
    } else if (import &&
               (a == "--name-column" || a == "--first-column" || a == "--password-column")) {
      if (i + 1 >= args.size()) throw Exit{2, a + " needs a value", true};
      std::optional<int>& column = a == "--name-column"    ? line.name_column
                                   : a == "--first-column" ? line.first_column
                                                           : line.password_column;
      if (column) throw Exit{2, a + " is given twice", true};
      column = ColumnNumber(a, args[++i]);
    } else if (import && !file && a.rfind("--", 0) != 0) {
      file = a;
    } else {
      throw Exit{2, "unknown argument: " + a, true};
    }
  }
  if (!classnum) throw Exit{2, "--class is required", true};
  if (import && !file) throw Exit{2, "the roster file to import is required", true};
  if (line.first_column && !line.name_column) {
    throw Exit{2, "--first-column needs --name-column, the column of the last names", true};
  }
  line.file = file.value_or("");
  return line;
}

// The display name of class `classnum`; a wrong command line when there is
// no such class.
std::string ClassName(Folder& folder, int classnum) {
  ClassList list;
  Check(FillClassList(folder, &list));
  if (list.bad_class_number) throw Exit{3, "Class number <=0!"};
  for (const std::string& item : list.items) {
    if (ClassNumberOf(item) == classnum) return ClassDisplayName(item);
  }
  throw Exit{2, "there is no class " + std::to_string(classnum) + " in CLASSES.DAT"};
}

}  // namespace

int RunImportCommand(Folder& folder, RandomSource& random, const std::vector<std::string>& args,
                     std::ostream& out, std::ostream& err, const std::string& usage) {
  try {
    const Line line = Parse(args, /*import=*/true);
    ClassName(folder, line.classnum);
    std::string bytes;
    Check(ReadRosterFile(line.file, &bytes));
    RosterTable table;
    Check(ParseRosterText(bytes, line.file, &table));
    // The columns chosen on the command line, which the file must have.
    RosterColumnChoice choice;
    const int columns = RosterColumnCount(table);
    const std::pair<const char*, const std::optional<int>*> chosen[] = {
        {"--name-column", &line.name_column},
        {"--first-column", &line.first_column},
        {"--password-column", &line.password_column}};
    for (const auto& [option, column] : chosen) {
      if (*column && **column > columns) {
        throw Exit{2, std::string(option) + " " + std::to_string(**column) + ": " + line.file +
                          " has " + std::to_string(columns) +
                          (columns == 1 ? " column" : " columns")};
      }
    }
    if (line.name_column) {
      choice.name = *line.name_column - 1;
      choice.first = line.first_column ? *line.first_column - 1 : -1;
    }
    if (line.password_column) choice.password = *line.password_column - 1;
    ImportPreview preview;
    Check(BuildImportPreview(folder, table, line.classnum, random, &preview, choice));
    if (!preview.columns.recognised && !line.name_column) {
      err << "quillon-cli: no heading row was recognised in " << line.file
          << "; the first column is taken as the names (choose with --name-column K)\n";
    }
    if (line.yes) Check(FileImportStudents(folder, preview, nullptr));
    for (const ImportRow& row : preview.rows) out << PreviewLine(row) << '\n';
    return preview.Added() > 0 ? 0 : 1;
  } catch (const Help&) {
    out << usage;
    return 0;
  } catch (const Exit& e) {
    return Fail(e, err, usage);
  }
}

int RunSlipsCommand(Folder& folder, const std::vector<std::string>& args, std::ostream& out,
                    std::ostream& err, const std::string& usage) {
  try {
    const Line line = Parse(args, /*import=*/false);
    ClassName(folder, line.classnum);
    std::vector<std::string> roster;
    Check(FillRosterList(folder, line.classnum, &roster));
    bool found = false;
    for (const LoginSlip& slip : RosterSlips(roster)) {
      if (line.studentnum && slip.number != *line.studentnum) continue;
      out << slip.number << '\t' << slip.name << '\t' << slip.password << '\n';
      found = true;
    }
    if (line.studentnum && !found) {
      throw Exit{2, "there is no student " + std::to_string(*line.studentnum) + " in class " +
                        std::to_string(line.classnum)};
    }
    return found ? 0 : 1;
  } catch (const Help&) {
    out << usage;
    return 0;
  } catch (const Exit& e) {
    return Fail(e, err, usage);
  }
}

}  // namespace quillon

#include "cli/ImportCommands.h"

#include "classes/LoginSlips.h"
#include "classes/RosterImport.h"
#include "cli/CommandSupport.h"
#include "data/ClassFiles.h"
#include "store/Read.h"

namespace quillon::cli {

using json = Json;

int ImportCommand(CommandContext& context, const ImportOptions& o) {
  const std::string classrec = ClassRecordOf(context, o.of_class);
  std::string bytes;
  Check(ReadRosterFile(o.file, &bytes));
  RosterTable table;
  Check(ParseRosterText(bytes, o.file, &table));
  // The columns chosen on the command line, which the file must have.
  const int columns = RosterColumnCount(table);
  for (const auto& [option, column] :
       {std::pair{"--name-column", o.name_column}, std::pair{"--first-column", o.first_column},
        std::pair{"--password-column", o.password_column}}) {
    if (column && *column > columns) {
      throw Exit{kExitCommandLine, std::string(option) + " " + std::to_string(*column) + ": " +
                                       o.file + " has " + std::to_string(columns) +
                                       (columns == 1 ? " column" : " columns")};
    }
  }
  RosterColumnChoice choice;
  if (o.name_column) {
    choice.name = *o.name_column - 1;
    choice.first = o.first_column ? *o.first_column - 1 : -1;
  }
  if (o.password_column) choice.password = *o.password_column - 1;
  ImportPreview preview;
  Check(BuildImportPreview(context.folder, table, ClassNumberOf(classrec), context.random,
                           &preview, choice));
  if (!preview.columns.recognised && !o.name_column) {
    context.out.Note("quillon-cli: no heading row was recognised in " + o.file +
                     "; the first column is taken as the names (choose with --name-column K)");
  }
  int added = 0;
  if (o.yes) Check(FileImportStudents(context.folder, preview, &added));
  if (o.json) {
    json rows = json::array();
    for (const ImportRow& row : preview.rows) {
      rows.push_back({{"line", row.line},
                      {"name", JsonText(row.name)},
                      {"cut", row.cut},
                      {"password", JsonText(row.password)},
                      {"generated", row.generated},
                      {"number", row.number == 0 ? json(nullptr) : json(row.number)},
                      {"action", ImportActionText(row.action)},
                      {"why", Utf8Of(row.reason)}});
    }
    PrintJson(context.out,
              {{"class", JsonClass(classrec)}, {"file", o.file}, {"added", added}, {"rows", rows}});
  } else {
    for (const ImportRow& row : preview.rows) context.out.Line(PreviewLine(row));
  }
  return preview.Added() > 0 ? kExitDone : kExitNothing;
}

int SlipsCommand(CommandContext& context, const SlipsOptions& o) {
  const std::string classrec = ClassRecordOf(context, o.of_class);
  const int classnum = ClassNumberOf(classrec);
  std::vector<std::string> roster;
  Check(FillRosterList(context.folder, classnum, &roster));
  std::vector<LoginSlip> slips;
  for (LoginSlip& slip : RosterSlips(roster)) {
    if (!o.student || slip.number == *o.student) slips.push_back(std::move(slip));
  }
  if (o.student && slips.empty()) {
    throw Exit{kExitCommandLine, "there is no student " + std::to_string(*o.student) +
                                     " in class " + std::to_string(classnum)};
  }
  if (o.json) {
    json list = json::array();
    for (const LoginSlip& slip : slips) {
      list.push_back({{"number", slip.number},
                      {"name", JsonText(slip.name)},
                      {"password", JsonText(slip.password)}});
    }
    PrintJson(context.out, {{"class", JsonClass(classrec)}, {"slips", list}});
  } else {
    for (const LoginSlip& slip : slips) {
      context.out.Line(std::to_string(slip.number) + '\t' + slip.name + '\t' + slip.password);
    }
  }
  return slips.empty() ? kExitNothing : kExitDone;
}

}  // namespace quillon::cli

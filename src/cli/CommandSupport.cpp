#include "cli/CommandSupport.h"

#include <algorithm>
#include <cmath>

#include "data/ClassFiles.h"
#include "store/Read.h"
#include "records/Summary.h"

namespace quillon::cli {

std::vector<std::string> SortedClassList(Folder& folder) {
  ClassList list;
  Check(FillClassList(folder, &list));
  if (list.bad_class_number) throw Exit{kExitFiles, "Class number <=0!", kClassesFile};
  std::sort(list.items.begin(), list.items.end());
  return list.items;
}

std::string ClassRecordOf(CommandContext& context, const ClassChoice& choice) {
  std::vector<std::string> named;
  for (const std::string& item : SortedClassList(context.folder)) {
    if (choice.number != 0 && ClassNumberOf(item) == choice.number) return item;
    if (choice.number == 0 && ClassDisplayName(item) == choice.name) named.push_back(item);
  }
  if (choice.number != 0) {
    throw Exit{kExitCommandLine,
               "there is no class " + std::to_string(choice.number) + " in CLASSES.DAT"};
  }
  const std::string shown = "\"" + context.out.Show(choice.name) + "\"";
  if (named.empty()) {
    throw Exit{kExitCommandLine, "there is no class named " + shown + " in CLASSES.DAT"};
  }
  if (named.size() > 1) {
    throw Exit{kExitCommandLine, "classes " + std::to_string(ClassNumberOf(named[0])) + " and " +
                                     std::to_string(ClassNumberOf(named[1])) + " are both named " +
                                     shown + "; give the class's number"};
  }
  return named.front();
}

void LoadTables(Folder& folder, Tables* tables) {
  Check(LoadLessons(folder, &tables->catalogue));
  FillUnitTestNames(&tables->unit_names);
}

Json JsonDate(std::string_view mmddyy) {
  if (mmddyy.size() != 6 || mmddyy.find_first_not_of("0123456789") != std::string_view::npos) {
    return nullptr;
  }
  const std::string typed = std::string(mmddyy.substr(0, 2)) + "/" +
                            std::string(mmddyy.substr(2, 2)) + "/" +
                            std::string(mmddyy.substr(4, 2));
  const std::optional<int> day = ParseSummaryDate(typed);
  if (!day) return nullptr;
  return DayKeyIso(*day);
}

Json JsonNumber(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) return static_cast<long long>(value);
  return value;
}

Json JsonClass(std::string_view class_record) {
  return {{"number", ClassNumberOf(class_record)},
          {"name", JsonText(ClassDisplayName(class_record))},
          {"passing_grade", JsonNumber(PassingGradeOf(class_record))}};
}

void PrintJson(Output& out, const Json& document) {
  // A path given in another encoding cannot break the document: replaced.
  out.out() << document.dump(2, ' ', !out.encoding().utf8(),
                             nlohmann::json::error_handler_t::replace)
            << '\n';
}

}  // namespace quillon::cli

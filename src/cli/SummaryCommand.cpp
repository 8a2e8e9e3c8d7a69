#include "cli/SummaryCommand.h"

#include <algorithm>
#include <optional>

#include "data/ClassFiles.h"
#include "store/Read.h"
#include "records/Summary.h"
#include "records/SummaryText.h"

namespace quillon {

namespace {

constexpr char kSummaryUsage[] = "  summary --class N [--from mm/dd/yy] [--to mm/dd/yy] [--csv]\n";

struct Failure {
  int status;
  std::string message;
  bool usage = false;
};

struct SummaryOptions {
  int classnum = 0;
  SummaryRange range;
  bool csv = false;
  bool help = false;
};

std::optional<int> DateOption(const std::string& name, const std::string& value) {
  std::optional<int> day = ParseSummaryDate(value);
  if (!day) {
    throw Failure{2, name + " takes a date as mm/dd/yy, not \"" + value + "\""};
  }
  return day;
}

SummaryOptions ParseOptions(const std::vector<std::string>& args) {
  SummaryOptions o;
  bool has_class = false, has_from = false, has_to = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help") {
      o.help = true;
      return o;
    }
    if (a == "--csv") {
      o.csv = true;
      continue;
    }
    if (a != "--class" && a != "--from" && a != "--to") {
      throw Failure{2, "unknown argument: " + a, true};
    }
    if (i + 1 >= args.size()) throw Failure{2, a + " needs a value", true};
    bool& given = a == "--class" ? has_class : a == "--from" ? has_from : has_to;
    if (given) throw Failure{2, a + " is given twice", true};
    given = true;
    const std::string& v = args[++i];
    if (a == "--class") {
      if (v.empty() || v.size() > 2 || v.find_first_not_of("0123456789") != std::string::npos ||
          std::stoi(v) < 1) {
        throw Failure{2, "--class takes a whole number from 1 to 99, not \"" + v + "\""};
      }
      o.classnum = std::stoi(v);
    } else if (a == "--from") {
      o.range.from = DateOption(a, v);
    } else {
      o.range.to = DateOption(a, v);
    }
  }
  if (!has_class) throw Failure{2, "--class is required", true};
  if (o.range.from && o.range.to && *o.range.from > *o.range.to) {
    throw Failure{2, "--from is after --to"};
  }
  return o;
}

void Check(const Status& s) {
  if (!s.ok()) throw Failure{3, s.ToString()};
}

// The class record of `classnum` as the windows' sorted class list gives it.
std::string ClassRecord(Folder& folder, int classnum) {
  ClassList list;
  Check(FillClassList(folder, &list));
  if (list.bad_class_number) throw Failure{3, "Class number <=0!"};
  std::sort(list.items.begin(), list.items.end());
  for (const std::string& item : list.items) {
    if (ClassNumberOf(item) == classnum) return item;
  }
  throw Failure{2, "there is no class " + std::to_string(classnum) + " in CLASSES.DAT"};
}

}  // namespace

int RunSummaryCommand(Folder& folder, const std::vector<std::string>& args, std::ostream& out,
                      std::ostream& err) {
  try {
    const SummaryOptions o = ParseOptions(args);
    if (o.help) {
      out << "usage: quillon-cli [--folder DIR] summary --class N [--from mm/dd/yy] "
             "[--to mm/dd/yy] [--csv]\n";
      return 0;
    }
    SummaryRequest request;
    request.classnum = o.classnum;
    request.passing_grade = PassingGradeOf(ClassRecord(folder, o.classnum));
    request.range = o.range;
    WorkingLists lists;
    std::vector<SummaryRow> rows;
    Check(BuildClassSummary(folder, lists, false, request, &rows));
    if (rows.empty()) {
      out << "No students found.\n";
      return 1;
    }
    out << (o.csv ? SummaryCsv(rows) : SummaryTabLines(rows));
    return 0;
  } catch (const Failure& f) {
    err << "quillon-cli: " << f.message << '\n';
    if (f.usage) err << "usage: quillon-cli [--folder DIR] COMMAND [OPTIONS]\n" << kSummaryUsage;
    return f.status;
  }
}

}  // namespace quillon

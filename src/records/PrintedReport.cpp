#include "records/PrintedReport.h"

#include "base/Text.h"
#include "data/ClassFiles.h"
#include "store/Read.h"
#include "records/RecordLine.h"

namespace quillon {

std::vector<std::string> RecordsReportHeadings(std::string_view heading_name, double passing_grade,
                                               DataGroup data_group) {
  const char* group = data_group == DataGroup::kTestsOnly        ? "Tests Only"
                      : data_group == DataGroup::kMostRecentTest ? "Most Recent Test Only"
                                                                 : "All Records";
  return {
      "STUDENT RECORDS: " + Trim(heading_name) + "   /   Test Passing Grade: " +
          GeneralNumber(passing_grade) + "%   /   Showing: " + group,
      "",
      "                                                                           #     #     %"
      "   Practice  Pass     # ",
      "       Name       Date   Course            Lesson              Activity   Att  Corr  Corr"
      "    Grade   Test?  Mins",
      "---------------- ------ -------- ---------------------------  ----------- ---  ----  ----"
      "  --------  -----  ----",
  };
}

Status BuildRecordsReport(Folder& folder, int classnum, int studentnum, DataGroup data_group,
                          SortDirection sort_direction, RecordsReport* report) {
  report->heading_name.clear();
  report->lines = RecordSelection();
  Status s;
  if (studentnum == kAllStudents) {
    report->heading_name = "All Students";
  } else {
    s = LookupStudentName(folder, classnum, studentnum, &report->heading_name);
  }
  if (s.ok()) s = report->lists.Build(folder);
  if (s.ok()) s = WriteWorkingFile(folder, report->lists, data_group);
  if (s.ok()) {
    s = SelectRecords(folder, report->lists.Group(data_group), classnum, studentnum,
                      &report->lines);
  }
  if (!s.ok()) {
    report->lines = RecordSelection();
    return s;
  }
  SortSelectionByLine(sort_direction, &report->lines);
  return Status::OK();
}

void ForEachReportLine(const TitleTables& tables, const RecordSelection& lines,
                       double passing_grade, const std::function<void(const std::string&)>& line) {
  std::string prev;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string s = FormatPrintLine(tables, lines.RecordLine(i), passing_grade);
    const std::string student = s.substr(0, 16);
    if (student != prev) {
      if (!prev.empty()) line(" ");
      prev = student;
    }
    line(s);
  }
}

std::vector<std::string> RecordsReportBody(const TitleTables& tables, const RecordSelection& lines,
                                           double passing_grade) {
  std::vector<std::string> body;
  ForEachReportLine(tables, lines, passing_grade, [&](const std::string& s) { body.push_back(s); });
  return body;
}

}  // namespace quillon

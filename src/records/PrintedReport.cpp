#include "records/PrintedReport.h"

#include "data/ClassFiles.h"
#include "records/RecordLine.h"
#include "shell/Text.h"

namespace quillon {

std::vector<std::string> RecordsReportHeadings(std::string_view heading_name, int passing_grade,
                                               int data_group) {
  const char* group = data_group == 2   ? "Tests Only"
                      : data_group == 3 ? "Most Recent Test Only"
                                        : "All Records";
  return {
      "STUDENT RECORDS: " + Trim(heading_name) + "   /   Test Passing Grade: " +
          std::to_string(passing_grade) + "%   /   Showing: " + group,
      "",
      "                                                                           #     #     %"
      "   Practice  Pass     # ",
      "       Name       Date   Course            Lesson              Activity   Att  Corr  Corr"
      "    Grade   Test?  Mins",
      "---------------- ------ -------- ---------------------------  ----------- ---  ----  ----"
      "  --------  -----  ----",
  };
}

Status BuildRecordsReport(Folder& folder, const SharedValues& values, int classnum, int studentnum,
                          RecordsReport* report) {
  *report = RecordsReport();
  Status s;
  if (studentnum == -1) {
    report->heading_name = "All Students";
  } else {
    report->heading_name = LookupStudentName(folder, classnum, studentnum, &s);
    if (!s.ok()) return s;
  }
  WorkingLists lists;
  s = BuildWorkingLists(folder, &lists);
  if (s.ok()) s = WriteWorkingFile(folder, lists, values.DataGroup);
  if (s.ok()) s = SelectRecordLines(folder, classnum, studentnum, &report->record_lines);
  if (!s.ok()) return s;
  std::vector<std::string> keys = report->record_lines;
  SortParallelLists(keys, report->record_lines, values.SortDirection, keys.size());
  return Status::OK();
}

std::vector<std::string> RecordsReportBody(const TitleTables& tables,
                                           const std::vector<std::string>& record_lines,
                                           int passing_grade) {
  std::vector<std::string> body;
  body.reserve(record_lines.size() + record_lines.size() / 8);
  std::string prev;
  for (const std::string& line : record_lines) {
    std::string s = FormatPrintLine(tables, line, passing_grade);
    std::string student = s.substr(0, 16);
    if (student != prev) {
      if (!prev.empty()) body.push_back(" ");
      prev = student;
    }
    body.push_back(std::move(s));
  }
  return body;
}

}  // namespace quillon

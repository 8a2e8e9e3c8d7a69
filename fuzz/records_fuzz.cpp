// RECORDS.DAT with its class and roster files, through the display builder
// and the printed report: every line of the class and student in the data
// group is shown once, 43 characters as a RecordLine and at least 106 on
// screen, in the order of the keys' texts.
#include <cstdint>

#include "base/Text.h"
#include "data/ActivityRecord.h"
#include "data/ClassFiles.h"
#include "records/DisplayBuilder.h"
#include "records/PrintedReport.h"
#include "support/Check.h"
#include "support/MemoryFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::vector<std::string> parts = fuzz::SplitInput(data, size, 4);
  fuzz::MemoryFolder folder;
  folder.files[kStudentsFile] = parts[1];
  folder.files[kRecordsFile] = parts[2] + parts[3];
  const std::string& p = parts[0];
  auto param = [&](std::size_t i) { return i < p.size() ? static_cast<unsigned char>(p[i]) : 0; };
  DisplayRequest request;
  request.classnum = param(0) % 12 - 1;    // -1 to 10
  request.studentnum = param(1) % 12 - 1;  // -1 to 10
  request.data_group = static_cast<DataGroup>(1 + param(2) % 3);
  request.sort_by = static_cast<SortBy>(param(3) % 4);
  request.sort_direction = static_cast<SortDirection>(param(4) % 2);
  LessonCatalogue catalogue;
  catalogue.UnitLessonTitles[1][1][1] = "Equations";
  catalogue.UnitLessonTitles[1][1][2] = "Equations and Inequalities";
  UnitNameTable names;
  FillUnitTestNames(&names);
  const TitleTables tables{catalogue, names};
  WorkingLists lists;
  DisplayResult result;
  const bool read = DisplayNew(folder, tables, request, lists, &result).ok();
  // Zero bytes that no removal's journal explains are read around: no
  // record holding one is ever listed.
  FUZZ_CHECK(read);
  for (DataGroup g : {DataGroup::kAllRecords, DataGroup::kTestsOnly, DataGroup::kMostRecentTest}) {
    const RecordList listed = lists.Group(g);
    for (std::size_t i = 0; i < listed.size(); ++i) {
      FUZZ_CHECK(std::string_view(listed[i]).find('\0') == std::string_view::npos);
    }
  }

  const RecordList group = lists.Group(request.data_group);
  std::size_t expected = 0;
  for (std::size_t i = 0; i < group.size(); ++i) {
    const bool student =
        request.studentnum == -1 || ActivityStudentNumber(group[i]) == request.studentnum;
    const bool cls = request.classnum == -1 || ActivityClassNumber(group[i]) == request.classnum;
    expected += student && cls;
  }
  FUZZ_CHECK(result.lines.size() == expected);
  std::string scratch;
  FUZZ_CHECK(folder.files[kWorkingFile] == group.Bytes(&scratch));
  std::string previous;
  for (std::size_t i = 0; i < result.lines.size(); ++i) {
    const std::string line = result.lines.RecordLine(i);
    FUZZ_CHECK(line.size() == 43);
    FUZZ_CHECK(FormatRecordLine(tables, line, 60).size() >= 106);
    const std::string key =
        DisplaySortKey(tables, line, request.sort_by, static_cast<int>(result.lines.Seq(i)));
    if (i > 0)
      FUZZ_CHECK(request.sort_direction == SortDirection::kIncreasing ? previous <= key
                                                                      : previous >= key);
    previous = key;
  }

  RecordsReport report;
  FUZZ_CHECK(BuildRecordsReport(folder, request.classnum, request.studentnum, request.data_group,
                                request.sort_direction, &report)
                 .ok());
  FUZZ_CHECK(report.lines.size() == expected);
  const std::vector<std::string> body = RecordsReportBody(tables, report.lines, 60);
  FUZZ_CHECK(body.empty() || body.front() != " ");
  for (std::size_t i = 0; i < body.size(); ++i) {
    FUZZ_CHECK(body[i] == " " || body[i].size() >= 111);
    if (body[i] == " ") FUZZ_CHECK(i + 1 < body.size() && body[i + 1] != " ");
  }
  return 0;
}

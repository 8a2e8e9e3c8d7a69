#include "gui/records/PrintRecords.h"

#include "gui/records/PrinterFaultHandler.h"
#include "records/PrintSetup.h"
#include "records/PrintedReport.h"

namespace quillon {

namespace {

// PrintPageHeader: a new page unless it is the first since the set-up, then
// the page number.
bool PrintPageHeader(Printer& printer, PrinterFaultHandler& handler, PrintLayout& layout) {
  if (layout.PagesStarted != 0 && !handler.Run([&] { return printer.NewPage(); })) return false;
  ++layout.PagesStarted;
  return handler.Run([&] {
    printer.SetPosition(layout.PageNumberX, layout.PrintTop);
    return printer.PrintLine("          Page " + std::to_string(printer.PageNumber()));
  });
}

// Prints `text` at the left margin, on the current line.
bool PrintAtLeft(Printer& printer, PrinterFaultHandler& handler, const PrintLayout& layout,
                 const std::string& text) {
  return handler.Run([&] {
    printer.SetPosition(layout.PrintLeft, printer.CurrentY());
    return printer.PrintLine(text);
  });
}

}  // namespace

void PrintRecords(Services services, int classnum, int studentnum) {
  SharedValues& v = services.values;
  RecordsReport report;
  Status s =
      BuildRecordsReport(services.folder, classnum, studentnum, v.Group(), v.Direction(), &report);
  if (!s.ok()) {
    services.dialogs.MessageBox("The records cannot be printed.\r\r" + s.ToString(), Buttons::kOk,
                                Icon::kCritical, Title::Default());
    return;
  }
  if (report.lines.empty()) {
    services.dialogs.MessageBox("No records found.", Buttons::kOk, Icon::kNone, Title::Default());
    return;
  }
  services.dialogs.MessageBox("Turn printer on, then click OK", Buttons::kOk, Icon::kNone,
                              Title::Text("Printing Student Records"));
  if (services.dialogs.Ended()) return;
  Printer& printer = services.printer;
  // Which printer, how many copies, which pages: Cancel prints nothing.
  if (!printer.ChooseDestination("Student Records", Orientation::kLandscape)) return;
  PrintLayout layout;
  PrinterFaultHandler handler(services, PrinterFaultHandler::OtherFault::kEndProgram);
  const std::vector<std::string> headings =
      RecordsReportHeadings(report.heading_name, v.PassingGrade, v.Group());
  auto print_headings = [&] {
    for (const std::string& h : headings) {
      if (!PrintAtLeft(printer, handler, layout, h)) return false;
    }
    return true;
  };
  if (!handler.Run([&] { return printer.SetOrientation(Orientation::kLandscape); }) ||
      !handler.Run([&] { return SetUpPrinter(printer, &layout, 10); }) ||
      !PrintPageHeader(printer, handler, layout) || !print_headings()) {
    return;
  }
  const TitleTables tables{v.Catalogue, v.UnitTestNames};
  std::string prev;
  for (std::size_t i = 0; i < report.lines.size(); ++i) {
    const std::string line = FormatPrintLine(tables, report.lines.RecordLine(i), v.PassingGrade);
    const std::string student = line.substr(0, 16);
    if (student != prev) {
      if (!prev.empty() && !PrintAtLeft(printer, handler, layout, " ")) return;
      prev = student;
    }
    if (!PrintAtLeft(printer, handler, layout, line)) return;
    if (printer.CurrentY() >= layout.PrintBottom &&
        (!PrintPageHeader(printer, handler, layout) || !print_headings())) {
      return;
    }
  }
  if (!handler.Run([&] { return printer.EndDocument(); })) return;
  (void)handler.Run([&] { return printer.SetOrientation(Orientation::kPortrait); });
}

}  // namespace quillon

#include "store/Read.h"
#include "gui/diagnostics/PrintDiagnostics.h"

#include "data/ClassFiles.h"
#include "data/DiagFile.h"
#include "diagnostics/DiagnosticReport.h"
#include "gui/records/PrinterFaultHandler.h"
#include "records/PrintSetup.h"

namespace quillon {

void PrintDiagnostics(Services services, const std::vector<std::string>& records) {
  Roster roster;
  Status s = LoadRoster(services.folder, &roster);
  if (!s.ok()) {
    services.dialogs.MessageBox("The diagnostic results cannot be printed.\r\r" + s.ToString(),
                                Buttons::kOk, Icon::kCritical, Title::Default());
    return;
  }
  Printer& printer = services.printer;
  if (!printer.ChooseDestination("Diagnostic Test Results", Orientation::kPortrait)) return;
  PrintLayout layout;
  PrinterFaultHandler handler(services, PrinterFaultHandler::OtherFault::kAbandon);
  if (!handler.Run([&] { return printer.SetOrientation(Orientation::kPortrait); }) ||
      !handler.Run([&] { return SetUpPrinter(printer, &layout, 11); })) {
    return;
  }
  for (const std::string& record : records) {
    const std::string& name = roster.Name(DiagClassNumber(record), DiagStudentNumber(record));
    // Each page from the top margin, every line at the left margin, and
    // every page closed with a new page.
    for (const std::vector<std::string>& page : DiagnosticReportPages(record, name)) {
      printer.SetPosition(layout.PrintLeft, layout.PrintTop);
      for (const std::string& line : page) {
        if (!handler.Run([&] {
              printer.SetPosition(layout.PrintLeft, printer.CurrentY());
              return printer.PrintLine(line);
            })) {
          return;
        }
      }
      if (!handler.Run([&] { return printer.NewPage(); })) return;
    }
  }
  (void)handler.Run([&] { return printer.EndDocument(); });
}

}  // namespace quillon

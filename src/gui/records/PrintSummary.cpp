#include "gui/records/PrintSummary.h"

#include "gui/records/PrinterFaultHandler.h"
#include "records/PrintSetup.h"
#include "records/SummaryText.h"

namespace quillon {
namespace {

// Sets up a landscape job in the report font: 10 points.
bool BeginLandscape(Services& services, PrinterFaultHandler& handler, PrintLayout* layout) {
  Printer& printer = services.printer;
  return handler.Run([&] { return printer.SetOrientation(Orientation::kLandscape); }) &&
         handler.Run([&] { return SetUpPrinter(printer, layout, 10); });
}

bool PrintAt(Services& services, PrinterFaultHandler& handler, double x, const std::string& text) {
  return handler.Run([&] {
    services.printer.SetPosition(x, services.printer.CurrentY());
    return services.printer.PrintLine(text);
  });
}

bool EndLandscape(Services& services, PrinterFaultHandler& handler) {
  Printer& printer = services.printer;
  if (!handler.Run([&] { return printer.EndDocument(); })) return false;
  (void)handler.Run([&] { return printer.SetOrientation(Orientation::kPortrait); });
  return true;
}

}  // namespace

void PrintSummary(Services services, const std::vector<SummaryRow>& rows,
                  const std::string& class_name, double passing_grade, const SummaryRange& range) {
  PrinterFaultHandler handler(services, PrinterFaultHandler::OtherFault::kAbandon);
  Printer& printer = services.printer;
  if (!printer.ChooseDestination("Class Summary", Orientation::kLandscape)) return;
  PrintLayout layout;
  if (!BeginLandscape(services, handler, &layout)) return;
  const int today = DayKeyOf(services.clock.Today());
  auto page_headings = [&](int page) {
    if (page > 1 && !handler.Run([&] { return printer.NewPage(); })) return false;
    printer.SetPosition(layout.PrintLeft, layout.PrintTop);
    for (const std::string& line :
         SummaryPageHeadings(class_name, passing_grade, range, today, page)) {
      if (!PrintAt(services, handler, layout.PrintLeft, line)) return false;
    }
    return true;
  };
  int page = 1;
  if (!page_headings(page)) return;
  for (const SummaryRow& row : rows) {
    if (printer.CurrentY() >= layout.PrintBottom && !page_headings(++page)) return;
    if (!PrintAt(services, handler, layout.PrintLeft, SummaryPrintedRow(row))) return;
  }
  (void)EndLandscape(services, handler);
}

void PrintProgressChart(Services services, const ProgressData& data, const std::string& class_name,
                        const SummaryRange& range) {
  PrinterFaultHandler handler(services, PrinterFaultHandler::OtherFault::kAbandon);
  Printer& printer = services.printer;
  if (!printer.ChooseDestination("Progress Chart", Orientation::kLandscape)) return;
  PrintLayout layout;
  if (!BeginLandscape(services, handler, &layout)) return;
  printer.SetPosition(layout.PrintLeft, layout.PrintTop);
  // Two heading lines: the longest names and range fit the page.
  const std::string headings[] = {"PROGRESS CHART: " + data.student + "   /   " + class_name,
                                  "Dates: " + RangeText(range) + "   /   Printed " +
                                      DayKeyText(DayKeyOf(services.clock.Today()))};
  for (const std::string& heading : headings) {
    if (!PrintAt(services, handler, layout.PrintLeft, heading)) return;
  }
  const Drawing chart = LayoutProgressChart(data, kChartPageWidth, kChartPageHeight);
  const double top = printer.CurrentY() + 0.15;
  if (!handler.Run([&] {
        printer.SetPosition(kChartPageLeft, top);
        return printer.DrawPicture(chart);
      })) {
    return;
  }
  (void)EndLandscape(services, handler);
}

}  // namespace quillon

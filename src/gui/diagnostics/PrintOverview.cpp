#include "gui/diagnostics/PrintOverview.h"

#include "diagnostics/ClassOverviewText.h"
#include "gui/records/PrinterFaultHandler.h"
#include "records/PrintSetup.h"

namespace quillon {

void PrintOverview(Services services, const ClassOverview& overview,
                   const std::string& class_name) {
  PrinterFaultHandler handler(services, PrinterFaultHandler::OtherFault::kAbandon);
  Printer& printer = services.printer;
  PrintLayout layout;
  if (!handler.Run([&] { return printer.SetOrientation(Orientation::kPortrait); }) ||
      !handler.Run([&] { return SetUpPrinter(printer, &layout, 10); })) {
    return;
  }
  const int today = DayKeyOf(services.clock.Today());
  auto print = [&](const std::string& text) {
    return handler.Run([&] {
      printer.SetPosition(layout.PrintLeft, printer.CurrentY());
      return printer.PrintLine(text);
    });
  };
  int page = 0;
  double line_height = 0;  // of the report font, once a line is printed
  auto begin_page = [&] {
    if (page > 0 && !handler.Run([&] { return printer.NewPage(); })) return false;
    ++page;
    printer.SetPosition(layout.PrintLeft, layout.PrintTop);
    for (const std::string& heading : OverviewPageHeadings(overview, class_name, today, page)) {
      if (!print(heading)) return false;
      if (line_height == 0) line_height = printer.CurrentY() - layout.PrintTop;
    }
    return true;
  };
  auto fits = [&](std::size_t lines) {
    return printer.CurrentY() + static_cast<double>(lines) * line_height <= layout.PrintBottom;
  };
  if (!begin_page()) return;
  bool first_table = true;
  for (const PrintedTable& table : OverviewPrintedTables(overview)) {
    // A blank line between two tables, and a table's headings with at
    // least its first row.
    const std::size_t first_row = table.rows.empty() ? 0 : table.rows.front().size();
    const std::size_t gap = first_table ? 0 : 1;
    if (!fits(gap + table.headings.size() + first_row)) {
      if (!begin_page()) return;
    } else if (gap > 0 && !print("")) {
      return;
    }
    first_table = false;
    for (const std::string& heading : table.headings) {
      if (!print(heading)) return;
    }
    for (const std::vector<std::string>& row : table.rows) {
      if (!fits(row.size())) {
        if (!begin_page()) return;
        for (std::size_t h = 0; h < table.headings.size(); ++h) {
          if (!print(h == 0 ? table.headings[h] + " (continued)" : table.headings[h])) return;
        }
      }
      for (const std::string& text : row) {
        if (!print(text)) return;
      }
    }
  }
  (void)handler.Run([&] { return printer.EndDocument(); });
}

}  // namespace quillon

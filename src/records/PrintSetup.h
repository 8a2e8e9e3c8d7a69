// The printer set-up shared by the records report and the diagnostic report:
// the fixed-pitch font, the page coordinates and the margins.
#pragma once

#include <string>

#include "platform/Printer.h"

namespace quillon {

// The report font; where it is missing the printer takes the platform's
// fixed-pitch font in its place.
inline constexpr char kReportFont[] = "Courier New";

// The print state SetUpPrinter sets, in inches from the top left corner of
// the printable area.
struct PrintLayout {
  double PrintTop = 0.5;     // where the first line of a page goes
  double PrintLeft = 0.4;    // where every report line begins
  double PrintBottom = 8.0;  // a page is full once the position reaches it
  double PageNumberX = 9;    // where the page-number line begins: 6 portrait, 9 landscape
  int PagesStarted = 0;      // pages begun since the set-up
};

// Sets the report font at `points` (11 when omitted) and the layout for the
// orientation the printer is set to. Returns 0, or the fault number of the
// font change (the layout is set either way).
[[nodiscard]] int SetUpPrinter(Printer& printer, PrintLayout* layout, double points = 11);

}  // namespace quillon

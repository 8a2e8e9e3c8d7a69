#include "gui/classes/PrintSlips.h"

#include "gui/records/PrinterFaultHandler.h"
#include "records/PrintSetup.h"

namespace quillon {

void PrintLoginSlips(Services services, const std::string& class_name,
                     const std::vector<LoginSlip>& slips) {
  const std::vector<SlipPage> pages = LayOutSlips(class_name, slips);
  if (pages.empty()) return;
  Printer& printer = services.printer;
  if (!printer.ChooseDestination("Log-in Slips", Orientation::kPortrait)) return;
  PrinterFaultHandler handler(services, PrinterFaultHandler::OtherFault::kAbandon);
  if (!handler.Run([&] { return printer.SetOrientation(Orientation::kPortrait); }) ||
      !handler.Run([&] { return printer.SetFont(kReportFont, kSlipPoints); })) {
    return;
  }
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0 && !handler.Run([&] { return printer.NewPage(); })) return;
    for (const SlipText& text : pages[p]) {
      if (!handler.Run([&] {
            printer.SetPosition(text.x, text.y);
            return printer.PrintLine(text.text);
          })) {
        return;
      }
    }
  }
  (void)handler.Run([&] { return printer.EndDocument(); });
}

}  // namespace quillon

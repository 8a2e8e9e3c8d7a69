#include "records/PrintSetup.h"

namespace quillon {

int SetUpPrinter(Printer& printer, PrintLayout* layout, double points) {
  const int fault = printer.SetFont(kReportFont, points);
  layout->PageNumberX = printer.GetOrientation() == Orientation::kPortrait ? 6 : 9;
  layout->PrintBottom = printer.PageHeight() - 0.5;
  layout->PrintTop = 0.5;
  layout->PrintLeft = 0.4;
  layout->PagesStarted = 0;
  return fault;
}

}  // namespace quillon

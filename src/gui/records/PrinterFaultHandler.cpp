#include "gui/records/PrinterFaultHandler.h"

namespace quillon {

bool PrinterFaultHandler::Run(const std::function<int()>& operation) {
  for (;;) {
    if (services_.dialogs.Ended()) return false;
    const int fault = operation();
    if (fault == 0) return true;
    Answer answer = Answer::kCancel;
    if (fault == kPrinterNotReady || fault == kPrinterOutOfPaper) {
      services_.dialogs.Beep();
      answer = services_.dialogs.MessageBox(
          fault == kPrinterNotReady
              ? "Turn printer on, then click OK to continue."
              : "Printer is out of paper.\rInsert paper, then click OK to continue",
          Buttons::kOkCancel, Icon::kNone, Title::Default());
      if (answer == Answer::kOk) continue;
      services_.printer.AbandonDocument();
      return false;
    }
    services_.dialogs.MessageBox(
        "Error =" + std::string(fault >= 0 ? " " : "") + std::to_string(fault), Buttons::kOk,
        Icon::kNone, Title::Default());
    services_.printer.AbandonDocument();
    if (other_ == OtherFault::kEndProgram) services_.dialogs.EndProgram(kExitPrinterError);
    return false;
  }
}

}  // namespace quillon

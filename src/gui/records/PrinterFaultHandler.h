// The printer-fault handling of both printed reports.
#pragma once

#include <functional>

#include "gui/shell/Services.h"

namespace quillon {

// Runs printer operations under the report's fault handler: a printer that
// is off (25) or out of paper (27) is asked for with a beep and a message
// with OK and Cancel; OK tries the same operation again, Cancel abandons
// the job at once. Any other fault shows "Error =" and its number, then
// either ends the program (the records report) or abandons the job.
class PrinterFaultHandler {
 public:
  enum class OtherFault { kEndProgram, kAbandon };
  PrinterFaultHandler(Services services, OtherFault other) : services_(services), other_(other) {}

  // Runs `operation` (which returns 0 or a fault number) until it is done;
  // false when the job was abandoned or the program ended.
  bool Run(const std::function<int()>& operation);

 private:
  Services services_;
  OtherFault other_;
};

}  // namespace quillon

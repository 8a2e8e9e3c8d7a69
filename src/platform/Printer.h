// The printer the reports are printed on. Positions are in inches from the
// top left corner of the page; printing a line writes it at the current
// position, then moves down one line of the current font and back to x = 0.
// A fault is reported as a PrinterFault with the system's error numbers.
#pragma once

#include <string>

namespace quillon {

enum class Orientation { kPortrait, kLandscape };

// Thrown by a Printer operation that failed; `number` is 25 (printer off or
// not ready), 27 (out of paper) or another number for any other fault.
struct PrinterFault {
  int number;
};

class Printer {
 public:
  virtual ~Printer() = default;
  virtual void SetFont(const std::string& name, double points) = 0;
  virtual Orientation GetOrientation() = 0;
  virtual void SetOrientation(Orientation orientation) = 0;
  // Page height in inches for the current orientation (11 or 8.5).
  virtual double PageHeight() = 0;
  virtual double CurrentX() = 0;
  virtual double CurrentY() = 0;
  virtual void SetPosition(double x, double y) = 0;
  virtual void PrintLine(const std::string& text) = 0;
  virtual int PageNumber() = 0;  // 1 on the first page
  virtual void NewPage() = 0;
  // Sends the job; a new page directly before it adds no blank sheet.
  virtual void EndDocument() = 0;
};

}  // namespace quillon

// The printer the reports are printed on. Positions are in inches from the
// top left corner of the page's printable area (8.5 wide by 11 high in
// portrait, 11 by 8.5 in landscape); printing a line writes it at the
// current position, then moves down one line of the current font and back
// to x = 0. Real: gui/platform/QtPrinter (a printer, or a PDF file); tests:
// a recording printer.
#pragma once

#include <string>

#include "platform/Drawing.h"

namespace quillon {

enum class Orientation { kPortrait, kLandscape };

// The printer fault numbers: the printer is switched off or not ready,
// or out of paper; any other number is any other fault.
inline constexpr int kPrinterNotReady = 25;
inline constexpr int kPrinterOutOfPaper = 27;

// Every operation that can fail returns 0 when it was done, else its fault
// number; a failed operation may be tried again.
class Printer {
 public:
  virtual ~Printer() = default;
  // Asks where and how the job about to begin is printed, as the platform
  // asks (the print dialog: printer, copies, pages; a PDF file when there is
  // no printer), for pages of `orientation`; `job` names it ("Student
  // Records") and the PDF file it would become. False when the user
  // cancelled: nothing is to be printed, and no job was begun.
  [[nodiscard]] virtual bool ChooseDestination(const std::string& job, Orientation orientation) = 0;
  [[nodiscard]] virtual int SetFont(const std::string& name, double points) = 0;
  virtual Orientation GetOrientation() = 0;
  // Takes effect from the next page begun.
  [[nodiscard]] virtual int SetOrientation(Orientation orientation) = 0;
  // The page height in inches for the current orientation (11 or 8.5).
  virtual double PageHeight() = 0;
  virtual double CurrentX() = 0;
  virtual double CurrentY() = 0;
  virtual void SetPosition(double x, double y) = 0;
  [[nodiscard]] virtual int PrintLine(const std::string& text) = 0;
  // Draws `drawing` with its top left corner at the current position, then
  // moves below it, back to x = 0.
  [[nodiscard]] virtual int DrawPicture(const Drawing& drawing) = 0;
  // The current page number, 1 on the first page.
  virtual int PageNumber() = 0;
  [[nodiscard]] virtual int NewPage() = 0;
  // Sends the job; a new page directly before it adds no blank sheet.
  [[nodiscard]] virtual int EndDocument() = 0;
  // Drops the job begun (a report abandoned after a fault): nothing of it
  // is sent, and the next line printed begins a new job.
  virtual void AbandonDocument() = 0;
};

}  // namespace quillon

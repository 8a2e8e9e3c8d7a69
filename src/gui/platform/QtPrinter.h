// The real Printer: QPrinter and QPainter. A job prints on the system's
// default printer when one is installed (CUPS); otherwise, or when the
// environment setting QUILLON_PRINT_TO_PDF names a folder, it becomes a PDF
// file of its own (never one written before), and the user is told its full
// name when the job ends.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <memory>
#include <string>

#include "gui/platform/Dialogs.h"
#include "platform/Clock.h"
#include "platform/Printer.h"

namespace quillon {

class QtPrinter : public Printer {
 public:
  // PDF files go to `pdf_folder`, or when it is not writable to the user's
  // documents folder; QUILLON_PRINT_TO_PDF wins over both.
  QtPrinter(std::string pdf_folder, Dialogs& dialogs, Clock& clock);
  ~QtPrinter() override;

  int SetFont(const std::string& name, double points) override;
  Orientation GetOrientation() override { return orientation_; }
  int SetOrientation(Orientation orientation) override;
  double PageHeight() override { return orientation_ == Orientation::kPortrait ? 11 : 8.5; }
  double CurrentX() override { return x_; }
  double CurrentY() override { return y_; }
  void SetPosition(double x, double y) override {
    x_ = x;
    y_ = y;
  }
  int PrintLine(const std::string& text) override;
  int DrawPicture(const Drawing& drawing) override;
  int PageNumber() override { return page_number_; }
  int NewPage() override;
  int EndDocument() override;
  void AbandonDocument() override;

  // The PDF file of the last job that went to one ("" otherwise).
  const std::string& last_pdf() const { return last_pdf_; }

 private:
  // Begins a job (QPainter::begin); 0 or the fault number.
  int Begin();
  // Begins the job and the sheet a new page asked for; 0 or the fault.
  int BeginPage();
  // The name of a new PDF file, created empty so that no other job can
  // take it; "" when none can be made.
  std::string NewPdfFile();
  void Reset();

  std::string pdf_folder_;
  Dialogs& dialogs_;
  Clock& clock_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  std::string pdf_;  // the job's PDF file, or "" for a printer
  std::string last_pdf_;
  QFont font_;
  Orientation orientation_ = Orientation::kPortrait;
  double x_ = 0, y_ = 0;
  int page_number_ = 1;
  bool new_page_pending_ = false;
};

}  // namespace quillon

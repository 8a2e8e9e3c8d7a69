// The real Printer: QPrinter and QPainter. Each job is asked for in the
// platform's print dialog (a printer with its copies and pages; a PDF file
// when there is no printer, in the user's documents folder unless chosen
// elsewhere), and the user is told the PDF file's full name when the job
// ends. When the environment setting QUILLON_PRINT_TO_PDF names a folder,
// no dialog is shown and every job becomes a new PDF file there (tests and
// machines without a printer).
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
  // PDF files are offered in `pdf_folder` ("": the user's documents folder,
  // or the home folder when there is none).
  QtPrinter(std::string pdf_folder, Dialogs& dialogs, Clock& clock);
  ~QtPrinter() override;

  bool ChooseDestination(const std::string& job, Orientation orientation) override;
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
  // The folder PDF files are offered in.
  std::string PdfFolder() const;

 private:
  // Begins a job (QPainter::begin) on the printer chosen, or without a
  // choice on the default printer or a new PDF file; 0 or the fault number.
  int Begin();
  // Makes the sheet of the current page the one drawn on: the job begun at
  // the first page drawn, then a new sheet for each page printed after it;
  // 0 or the fault.
  int BeginPage();
  // Whether the current page is among those the user asked for.
  bool Wanted(int page) const;
  // The name of a new PDF file in `folder` for `job`: "Quillon <job>
  // yyyy-mm-dd n.pdf", created empty when `create` so that no other job can
  // take it; "" when none can be made.
  std::string NewPdfFile(const std::string& folder, bool create) const;
  void Reset();

  std::string pdf_folder_;
  Dialogs& dialogs_;
  Clock& clock_;
  std::unique_ptr<QPrinter> printer_;
  bool chosen_ = false;  // printer_ is the one the print dialog chose
  std::string job_;      // the job's name, for its PDF file
  std::unique_ptr<QPainter> painter_;
  std::string pdf_;  // the job's PDF file, or "" for a printer
  std::string last_pdf_;
  QFont font_;
  Orientation orientation_ = Orientation::kPortrait;
  double x_ = 0, y_ = 0;
  int page_number_ = 1;
  int sheet_page_ = 0;  // the page on the sheet being drawn (0: none yet)
  int last_page_ = 0;   // the last page anything was printed on, asked for or not
};

}  // namespace quillon

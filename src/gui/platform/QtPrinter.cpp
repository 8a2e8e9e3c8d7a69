#include "gui/platform/QtPrinter.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <vector>

#include "gui/platform/DrawingPainter.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/Fonts.h"

namespace quillon {
namespace {

// A fault the printer reports that is neither "not ready" nor "out of paper".
constexpr int kPrinterFault = 482;

// Creates `path` only if no file of that name exists yet.
bool CreateExclusively(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

QPageLayout::Orientation ToQt(Orientation o) {
  return o == Orientation::kPortrait ? QPageLayout::Portrait : QPageLayout::Landscape;
}

}  // namespace

QtPrinter::QtPrinter(std::string pdf_folder, Dialogs& dialogs, Clock& clock)
    : pdf_folder_(std::move(pdf_folder)), dialogs_(dialogs), clock_(clock) {
  (void)SetFont("Arial", 10);
}

QtPrinter::~QtPrinter() { AbandonDocument(); }

std::string QtPrinter::PdfFolder() const {
  if (!pdf_folder_.empty()) return pdf_folder_;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty()) folder = QDir::homePath();
  return folder.toLocal8Bit().toStdString();
}

bool QtPrinter::ChooseDestination(const std::string& job, Orientation orientation) {
  AbandonDocument();  // a job left begun is never mixed into this one
  job_ = job;
  // The setting for tests and machines without a printer: no dialog.
  if (!qEnvironmentVariableIsEmpty("QUILLON_PRINT_TO_PDF")) return true;
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer_->setDocName(QString::fromLocal8Bit(("Quillon " + job).c_str()));
  printer_->setPageSize(QPageSize(QPageSize::Letter));
  printer_->setPageOrientation(ToQt(orientation));
  const QPrinterInfo default_printer = QPrinterInfo::defaultPrinter();
  if (!default_printer.isNull()) {
    printer_->setPrinterName(default_printer.printerName());
  } else {
    // No printer: a PDF file, offered in the documents folder (never the
    // shared program folder, unless the user chooses it there).
    QDir().mkpath(QString::fromLocal8Bit(PdfFolder().c_str()));
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromLocal8Bit(NewPdfFile(PdfFolder(), false).c_str()));
  }
  if (!dialogs_.PrintDialog(*printer_)) {
    Reset();
    return false;
  }
  chosen_ = true;
  return true;
}

int QtPrinter::SetFont(const std::string& name, double points) {
  font_ = NamedFont(name, points);
  if (painter_) painter_->setFont(font_);
  return 0;
}

int QtPrinter::SetOrientation(Orientation orientation) {
  orientation_ = orientation;
  if (printer_) printer_->setPageOrientation(ToQt(orientation));  // from the next page on
  return 0;
}

std::string QtPrinter::NewPdfFile(const std::string& folder, bool create) const {
  const Date today = clock_.Today();
  const std::string day =
      QDate(today.year, today.month, today.day).toString("yyyy-MM-dd").toStdString();
  const std::string stem = folder + "/Quillon " + (job_.empty() ? "report" : job_) + " " + day;
  for (int n = 1; n <= 999; ++n) {
    const std::string path = stem + " " + std::to_string(n) + ".pdf";
    if (!create) {
      if (!QFileInfo::exists(QString::fromLocal8Bit(path.c_str()))) return path;
      continue;
    }
    if (CreateExclusively(path)) return path;
    if (errno != EEXIST) break;  // this folder cannot be written
  }
  return std::string();
}

int QtPrinter::Begin() {
  if (painter_) return 0;
  bool made_pdf = false;
  if (!chosen_) {
    // Without the dialog (QUILLON_PRINT_TO_PDF): a new PDF file of its own.
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const std::string env =
        qEnvironmentVariable("QUILLON_PRINT_TO_PDF").toLocal8Bit().toStdString();
    if (!env.empty() || QPrinterInfo::defaultPrinter().isNull()) {
      std::vector<std::string> folders = {env};
      if (env.empty()) folders = {PdfFolder(), QDir::homePath().toLocal8Bit().toStdString()};
      for (const std::string& folder : folders) {
        QDir().mkpath(QString::fromLocal8Bit(folder.c_str()));
        pdf_ = NewPdfFile(folder, true);
        if (!pdf_.empty()) break;
      }
      if (pdf_.empty()) {
        Reset();
        return kPrinterNotReady;
      }
      made_pdf = true;
      printer_->setOutputFormat(QPrinter::PdfFormat);
      printer_->setOutputFileName(QString::fromLocal8Bit(pdf_.c_str()));
    } else {
      printer_->setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    }
    printer_->setDocName(
        QString::fromLocal8Bit(("Quillon " + (job_.empty() ? "report" : job_)).c_str()));
    printer_->setPageSize(QPageSize(QPageSize::Letter));
  } else if (!printer_->outputFileName().isEmpty()) {
    pdf_ = printer_->outputFileName().toLocal8Bit().toStdString();  // the file the user chose
  }
  // A PDF page has no margin of its own: its printable area is the page.
  if (!pdf_.empty()) printer_->setFullPage(true);
  printer_->setPageOrientation(ToQt(orientation_));
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(printer_.get())) {
    if (made_pdf) ::unlink(pdf_.c_str());
    Reset();
    return kPrinterNotReady;
  }
  painter_->setFont(font_);
  return 0;
}

bool QtPrinter::Wanted(int page) const {
  if (!chosen_ || !printer_ || printer_->printRange() != QPrinter::PageRange) return true;
  return page >= printer_->fromPage() && (printer_->toPage() == 0 || page <= printer_->toPage());
}

int QtPrinter::BeginPage() {
  if (!painter_) {
    if (int fault = Begin()) return fault;
    sheet_page_ = page_number_;
    return 0;
  }
  // A page left empty between two printed ones is a blank sheet.
  while (sheet_page_ < page_number_) {
    if (Wanted(sheet_page_ + 1) && !printer_->newPage()) return kPrinterNotReady;
    ++sheet_page_;
  }
  return 0;
}

int QtPrinter::PrintLine(const std::string& text) {
  last_page_ = std::max(last_page_, page_number_);
  if (!Wanted(page_number_)) {
    // A page the user did not ask for: its lines only move down.
    y_ += QFontMetricsF(font_, printer_.get()).lineSpacing() / printer_->resolution();
    x_ = 0;
    return 0;
  }
  if (int fault = BeginPage()) return fault;
  const double dpi = printer_->resolution();
  const QFontMetricsF metrics(painter_->font(), printer_.get());
  painter_->drawText(QPointF(x_ * dpi, y_ * dpi + metrics.ascent()), ToQString(text));
  y_ += metrics.lineSpacing() / dpi;
  x_ = 0;
  return 0;
}

int QtPrinter::DrawPicture(const Drawing& drawing) {
  last_page_ = std::max(last_page_, page_number_);
  if (Wanted(page_number_)) {
    if (int fault = BeginPage()) return fault;
    const double dpi = printer_->resolution();
    painter_->save();
    PaintDrawing(*painter_, drawing, dpi, QPointF(x_ * dpi, y_ * dpi));
    painter_->restore();
    painter_->setFont(font_);
  }
  y_ += drawing.height;
  x_ = 0;
  return 0;
}

int QtPrinter::NewPage() {
  // The sheet is begun by the next line printed: a new page right before
  // the end of the document adds none.
  ++page_number_;
  x_ = y_ = 0;
  return 0;
}

int QtPrinter::EndDocument() {
  if (!painter_) {
    // Nothing drawn: the pages chosen were all beyond the report's.
    const bool none_chosen =
        chosen_ && printer_ && printer_->printRange() == QPrinter::PageRange && last_page_ > 0;
    const int pages = last_page_;
    Reset();
    if (none_chosen) {
      dialogs_.MessageBox("Nothing was printed: the report has " + std::to_string(pages) +
                              (pages == 1 ? " page" : " pages") +
                              ", and none of them is among the pages chosen.",
                          Buttons::kOk, Icon::kNone, Title::Default());
    }
    return 0;
  }
  const bool ok = painter_->end();
  const std::string pdf = pdf_;
  Reset();
  if (!ok) return kPrinterFault;
  if (!pdf.empty()) {
    last_pdf_ = pdf;
    dialogs_.MessageBox("The report was printed to the PDF file\r\n" + pdf, Buttons::kOk,
                        Icon::kNone, Title::Default());
  }
  return 0;
}

void QtPrinter::AbandonDocument() {
  if (painter_) {
    printer_->abort();
    painter_->end();
    if (!pdf_.empty()) ::unlink(pdf_.c_str());  // never half a report under its name
  }
  Reset();
}

void QtPrinter::Reset() {
  painter_.reset();
  printer_.reset();
  chosen_ = false;
  job_.clear();
  pdf_.clear();
  page_number_ = 1;
  sheet_page_ = 0;
  last_page_ = 0;
  x_ = y_ = 0;
}

}  // namespace quillon

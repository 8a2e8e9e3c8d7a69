#include "gui/platform/QtPrinter.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QFontInfo>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <cerrno>

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

std::string QtPrinter::NewPdfFile() {
  std::string folder = qEnvironmentVariable("QUILLON_PRINT_TO_PDF").toStdString();
  std::vector<std::string> folders;
  if (!folder.empty()) {
    folders = {folder};
  } else {
    folders = {pdf_folder_, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                .toLocal8Bit()
                                .toStdString()};
  }
  const Date today = clock_.Today();
  const std::string day =
      QDate(today.year, today.month, today.day).toString("yyyy-MM-dd").toStdString();
  for (const std::string& f : folders) {
    if (f.empty()) continue;
    QDir().mkpath(QString::fromLocal8Bit(f.c_str()));
    for (int n = 1; n <= 999; ++n) {
      const std::string path = f + "/Quillon report " + day + " " + std::to_string(n) + ".pdf";
      if (CreateExclusively(path)) return path;
      if (errno != EEXIST) break;  // this folder cannot be written: try the next one
    }
  }
  return std::string();
}

int QtPrinter::Begin() {
  if (painter_) return 0;
  const bool to_pdf = !qEnvironmentVariableIsEmpty("QUILLON_PRINT_TO_PDF") ||
                      QPrinterInfo::defaultPrinter().isNull();
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (to_pdf) {
    pdf_ = NewPdfFile();
    if (pdf_.empty()) {
      Reset();
      return kPrinterNotReady;
    }
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromLocal8Bit(pdf_.c_str()));
    printer_->setDocName("Quillon report");
    // A PDF page has no margin of its own: its printable area is the page.
    printer_->setFullPage(true);
  } else {
    printer_->setPrinterName(QPrinterInfo::defaultPrinter().printerName());
  }
  printer_->setPageSize(QPageSize(QPageSize::Letter));
  printer_->setPageOrientation(ToQt(orientation_));
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(printer_.get())) {
    if (!pdf_.empty()) ::unlink(pdf_.c_str());
    Reset();
    return kPrinterNotReady;
  }
  painter_->setFont(font_);
  return 0;
}

int QtPrinter::BeginPage() {
  if (int fault = Begin()) return fault;
  if (new_page_pending_) {
    if (!printer_->newPage()) return kPrinterNotReady;
    new_page_pending_ = false;
  }
  return 0;
}

int QtPrinter::PrintLine(const std::string& text) {
  if (int fault = BeginPage()) return fault;
  const double dpi = printer_->resolution();
  const QFontMetricsF metrics(painter_->font(), printer_.get());
  painter_->drawText(QPointF(x_ * dpi, y_ * dpi + metrics.ascent()), ToQString(text));
  y_ += metrics.lineSpacing() / dpi;
  x_ = 0;
  return 0;
}

int QtPrinter::DrawPicture(const Drawing& drawing) {
  if (int fault = BeginPage()) return fault;
  const double dpi = printer_->resolution();
  painter_->save();
  PaintDrawing(*painter_, drawing, dpi, QPointF(x_ * dpi, y_ * dpi));
  painter_->restore();
  painter_->setFont(font_);
  y_ += drawing.height;
  x_ = 0;
  return 0;
}

int QtPrinter::NewPage() {
  // The sheet is begun by the next line printed: a new page right before
  // the end of the document adds none.
  if (painter_ && new_page_pending_ && !printer_->newPage()) return kPrinterNotReady;
  new_page_pending_ = true;
  ++page_number_;
  x_ = y_ = 0;
  return 0;
}

int QtPrinter::EndDocument() {
  if (!painter_) {
    Reset();
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
    if (!pdf_.empty()) ::unlink(pdf_.c_str());
  }
  Reset();
}

void QtPrinter::Reset() {
  painter_.reset();
  printer_.reset();
  pdf_.clear();
  page_number_ = 1;
  new_page_pending_ = false;
  x_ = y_ = 0;
}

}  // namespace quillon

#include "gui/diagnostics/frmDisplayDiagnostics.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "data/DiagFile.h"
#include "diagnostics/DiagnosticReport.h"
#include "gui/platform/CenterForm.h"
#include "gui/platform/Encoding.h"
#include "gui/platform/ListBox.h"

namespace quillon {

frmDisplayDiagnostics::frmDisplayDiagnostics(QWidget* parent) : QDialog(parent) {
  setObjectName("frmDisplayDiagnostics");
  lblHeading_ = new QLabel(this);
  lblHeading_->setObjectName("lblHeading");
  lblHeading_->setAlignment(Qt::AlignHCenter);
  QFont bold = lblHeading_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() + 2);
  lblHeading_->setFont(bold);
  lstRecords_ = new LinesView("lstRecords", "Diagnostic Test Results", 10, /*bold=*/true, this);
  // At least 10 lines; the window opens as tall as the screen allows.
  lstRecords_->setMinimumSize(lstRecords_->fontMetrics().horizontalAdvance(QString(96, 'M')),
                              10 * lstRecords_->fontMetrics().lineSpacing());
  lstWork_ = new QListWidget(this);
  lstWork_->setObjectName("lstWork");
  lstWork_->setSortingEnabled(true);
  lstWork_->hide();
  cmdOK_ = new QPushButton("Close", this);
  cmdOK_->setObjectName("cmdOK");
  cmdOK_->setDefault(true);
  connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblHeading_);
  layout->addWidget(lstRecords_, 1);
  layout->addWidget(cmdOK_, 0, Qt::AlignHCenter);
  adjustSize();
  // As tall as the screen allows: a report is up to 87 lines.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    resize(width(), std::max(height(), screen->availableGeometry().height() * 9 / 10));
  }
  CenterForm(*this);  // Form_Load
}

void frmDisplayDiagnostics::SetHeading(const std::string& text) {
  lblHeading_->setText(ToQString(text));
}

void frmDisplayDiagnostics::ClearRecords() {
  lines_.clear();
  lstRecords_->Clear();
}

void frmDisplayDiagnostics::AddRecords(const std::vector<std::string>& lines) {
  lines_.insert(lines_.end(), lines.begin(), lines.end());
  lstRecords_->SetLines(static_cast<int>(lines_.size()),
                        [this](int row) { return lines_[static_cast<std::size_t>(row)]; });
}

void ShowDiagnosticReport(frmDisplayDiagnostics& window, const std::string& record,
                          const Roster& roster) {
  window.AddRecords(DiagnosticReportLines(
      record, roster.Name(DiagClassNumber(record), DiagStudentNumber(record))));
}

}  // namespace quillon

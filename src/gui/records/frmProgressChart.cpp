#include "gui/records/frmProgressChart.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "gui/platform/CenterForm.h"
#include "gui/platform/DrawingPainter.h"
#include "gui/platform/Encoding.h"
#include "gui/records/PrintSummary.h"

namespace quillon {

ProgressChartView::ProgressChartView(const ProgressData& data, QWidget* parent)
    : QWidget(parent), data_(data) {
  setObjectName("picChart");
  setAccessibleName(ToQString("Progress chart of " + data.student));
  long long passed = 0;
  for (const ChartPoint& p : data.points) passed += p.passed;
  setAccessibleDescription(QString("%1 tests, %2 passed, %3 failed")
                               .arg(data.points.size())
                               .arg(passed)
                               .arg(static_cast<long long>(data.points.size()) - passed));
  setMinimumSize(560, 340);  // the window opens larger where the screen allows
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

double ProgressChartView::Dpi() const { return logicalDpiX() > 0 ? logicalDpiX() : 96.0; }

void ProgressChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const double dpi = Dpi();
  PaintDrawing(painter, LayoutProgressChart(data_, width() / dpi, height() / dpi), dpi,
               QPointF(0, 0));
}

QString ProgressChartView::TipAt(QPoint pos) const {
  const double dpi = Dpi();
  std::vector<PlacedPoint> placed;
  (void)LayoutProgressChart(data_, width() / dpi, height() / dpi, &placed);
  const double x = pos.x() / dpi, y = pos.y() / dpi, reach = 0.1;
  int best = -1;
  double nearest = reach * reach;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const double dx = placed[i].x - x, dy = placed[i].y - y, d = dx * dx + dy * dy;
    if (d <= nearest) {
      nearest = d;
      best = static_cast<int>(i);
    }
  }
  if (best < 0) return QString();
  const ChartPoint& p = data_.points[static_cast<std::size_t>(best)];
  return ToQString(p.title + "\n" + DayKeyText(p.day) + ": " + std::to_string(p.percent) + "%, " +
                   (p.passed ? "passed" : "failed"));
}

bool ProgressChartView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = TipAt(help->pos());
    if (tip.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
  }
  return QWidget::event(event);
}

frmProgressChart::frmProgressChart(Services services, ProgressData data, std::string class_name,
                                   SummaryRange range, QWidget* parent)
    : QDialog(parent),
      services_(services),
      data_(std::move(data)),
      class_name_(std::move(class_name)),
      range_(range) {
  setObjectName("frmProgressChart");
  setWindowTitle(ToQString("PROGRESS CHART: " + data_.student));
  picChart_ = new ProgressChartView(data_, this);
  cmdPrint_ = new QPushButton("Print Chart", this);
  cmdPrint_->setObjectName("cmdPrint");
  cmdPrint_->setAutoDefault(false);
  connect(cmdPrint_, &QPushButton::clicked, this, &frmProgressChart::cmdPrint_Click);
  cmdClose_ = new QPushButton("Close", this);
  cmdClose_->setObjectName("cmdClose");
  cmdClose_->setDefault(true);
  connect(cmdClose_, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(picChart_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdPrint_);
  buttons->addWidget(cmdClose_);
  layout->addLayout(buttons);
  adjustSize();
  resize(std::max(width(), 800), std::max(height(), 540));  // CenterForm fits it to the screen
  CenterForm(*this);
}

void frmProgressChart::cmdPrint_Click() {
  PrintProgressChart(services_, data_, class_name_, range_);
}

}  // namespace quillon

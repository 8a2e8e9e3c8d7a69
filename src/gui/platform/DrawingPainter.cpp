#include "gui/platform/DrawingPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <algorithm>

#include "gui/platform/Encoding.h"

namespace quillon {
namespace {

QColor ColorOf(Ink ink) {
  switch (ink) {
    case Ink::kGrey:
      return QColor(90, 90, 90);
    case Ink::kLight:
      return QColor(215, 215, 215);
    case Ink::kPass:
      return QColor(0, 110, 40);
    case Ink::kFail:
      return QColor(200, 30, 30);
    case Ink::kBar:
      return QColor(120, 150, 200);
    case Ink::kBlack:
      break;
  }
  return QColor(0, 0, 0);
}

}  // namespace

void PaintDrawing(QPainter& painter, const Drawing& drawing, double dpi, QPointF origin) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  auto at = [&](double x, double y) { return origin + QPointF(x * dpi, y * dpi); };
  const double pen_width = std::max(1.0, dpi / 96.0);
  for (const Shape& s : drawing.shapes) {
    const QColor color = ColorOf(s.ink);
    QPen pen(color, pen_width);
    painter.setBrush(Qt::NoBrush);
    switch (s.kind) {
      case Shape::Kind::kLine:
      case Shape::Kind::kDashedLine:
        if (s.kind == Shape::Kind::kDashedLine) pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(at(s.x1, s.y1), at(s.x2, s.y2));
        break;
      case Shape::Kind::kBar:
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawRect(QRectF(at(s.x1, s.y1), at(s.x2, s.y2)).normalized());
        break;
      case Shape::Kind::kDot:
        painter.setPen(pen);
        painter.setBrush(color);
        painter.drawEllipse(at(s.x1, s.y1), s.size * dpi, s.size * dpi);
        break;
      case Shape::Kind::kCross: {
        pen.setWidthF(pen_width * 2);
        painter.setPen(pen);
        const double h = s.size;
        painter.drawLine(at(s.x1 - h, s.y1 - h), at(s.x1 + h, s.y1 + h));
        painter.drawLine(at(s.x1 - h, s.y1 + h), at(s.x1 + h, s.y1 - h));
        break;
      }
      case Shape::Kind::kText:
      case Shape::Kind::kRightText: {
        QFont font = painter.font();
        // Points are 1/72 inch at the drawing's own scale.
        font.setPixelSize(std::max(1, static_cast<int>(s.size / 72.0 * dpi + 0.5)));
        painter.setFont(font);
        painter.setPen(pen);
        const QString text = ToQString(s.text);
        QPointF p = at(s.x1, s.y1);
        if (s.kind == Shape::Kind::kRightText) {
          p.rx() -= QFontMetricsF(font, painter.device()).horizontalAdvance(text);
        }
        painter.drawText(p, text);
        break;
      }
    }
  }
}

}  // namespace quillon

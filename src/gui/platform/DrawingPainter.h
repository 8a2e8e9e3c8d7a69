// Paints a Drawing (inches) with a QPainter: on a window at the screen's
// dots per inch, or on a printer page at the printer's.
#pragma once

#include <QPainter>
#include <QPointF>

#include "platform/Drawing.h"

namespace quillon {

// Paints `drawing` with its top left corner at `origin` (device pixels),
// `dpi` pixels to the inch. Changes the painter's pen, brush and font.
void PaintDrawing(QPainter& painter, const Drawing& drawing, double dpi, QPointF origin);

}  // namespace quillon

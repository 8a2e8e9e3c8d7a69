#include "gui/platform/CenterForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quillon {

void CenterForm(QWidget& window) {
  QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  // A window larger than the screen is shrunk to fit it.
  window.resize(std::min(window.width(), area.width()), std::min(window.height(), area.height()));
  window.move(area.x() + area.width() / 2 - window.width() / 2,
              area.y() + area.height() / 2 - window.height() / 2);
}

}  // namespace quillon

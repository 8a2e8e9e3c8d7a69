#include "gui/platform/CenterForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace quillon {
namespace {

// What the window manager adds around the window: as it is once shown,
// before then the style's title bar and a border.
QSize FrameAllowance(const QWidget& window) {
  if (window.isVisible()) return window.frameGeometry().size() - window.size();
  return QSize(12, window.style()->pixelMetric(QStyle::PM_TitleBarHeight) + 12);
}

}  // namespace

void CenterForm(QWidget& window) {
  QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QSize frame = FrameAllowance(window);
  // A window larger than the screen is shrunk to fit it, its frame and
  // title bar included, down to what its layout needs.
  window.resize(
      std::max(window.minimumWidth(), std::min(window.width(), area.width() - frame.width())),
      std::max(window.minimumHeight(), std::min(window.height(), area.height() - frame.height())));
  // Never above or left of the screen: the title bar and the first controls
  // stay within reach.
  window.move(
      std::max(area.x(), area.x() + (area.width() - window.width() - frame.width()) / 2),
      std::max(area.y(), area.y() + (area.height() - window.height() - frame.height()) / 2));
}

}  // namespace quillon

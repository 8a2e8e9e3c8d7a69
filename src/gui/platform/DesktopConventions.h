// What every window of the program does with the keyboard and the focus, set
// once for the whole application: Enter presses the focused button, Tab
// enters an option group at its chosen option and leaves it in one step, and
// the control with the focus is framed clearly (2 px in the highlight colour).
#pragma once

#include <QObject>
#include <QProxyStyle>

class QApplication;

namespace quillon {

// The keys: an event filter on the whole application.
class DesktopKeys : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool moving_ = false;  // a Tab being passed on within an option group
};

// The focus frames, drawn over the platform's own style.
class DesktopStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  // Buttons a little wider than their text.
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget = nullptr) const override;
  // A list's frame is wide enough for its focus frame.
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
};

// Sets both on `app` (once; a second call changes nothing). The desktop
// program and the window tests call it before any window is made.
void UseDesktopConventions(QApplication& app);

}  // namespace quillon

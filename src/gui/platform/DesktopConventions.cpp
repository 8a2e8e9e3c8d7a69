// The application-wide keyboard and focus conventions of the windows.
#include "gui/platform/DesktopConventions.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace quillon {
namespace {

// The other options of `option`'s group: its button group, or else the
// auto-exclusive options beside it in the same parent.
std::vector<QRadioButton*> OthersInGroup(QRadioButton* option) {
  std::vector<QRadioButton*> others;
  if (QButtonGroup* group = option->group()) {
    for (QAbstractButton* b : group->buttons()) {
      if (auto* r = qobject_cast<QRadioButton*>(b); r != nullptr && r != option)
        others.push_back(r);
    }
  } else if (option->autoExclusive() && option->parentWidget() != nullptr) {
    for (QRadioButton* r :
         option->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
      if (r != option && r->autoExclusive()) others.push_back(r);
    }
  }
  return others;
}

bool IsEnter(const QKeyEvent& key) {
  return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
         (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool IsTab(const QKeyEvent& key) {
  return (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
         (key.modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
}

// A frame of `width` pixels just inside `rect`, in the highlight colour.
void DrawFocusFrame(QPainter* painter, const QStyleOption& option, QRect rect, int width = 2) {
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  const QColor colour = option.palette.color(QPalette::Active, QPalette::Highlight);
  for (int i = 0; i < width && rect.width() > 2 && rect.height() > 2; ++i) {
    painter->setPen(colour);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    rect.adjust(1, 1, -1, -1);
  }
  painter->restore();
}

bool Focused(const QStyleOption& option) {
  return (option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_Enabled);
}

}  // namespace

bool DesktopKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button != nullptr && IsEnter(*key) && button->hasFocus() && button->isEnabled()) {
      // Enter presses the focused button, as Space does (held down, once).
      if (!key->isAutoRepeat()) button->click();
      return true;
    }
    auto* option = qobject_cast<QRadioButton*>(watched);
    if (option != nullptr && !moving_ && IsTab(*key) && option->hasFocus()) {
      const std::vector<QRadioButton*> others = OthersInGroup(option);
      if (others.empty()) return false;
      // The group is one stop: Tab passes over the other options.
      std::vector<std::pair<QRadioButton*, Qt::FocusPolicy>> kept;
      for (QRadioButton* r : others) {
        kept.emplace_back(r, r->focusPolicy());
        r->setFocusPolicy(Qt::ClickFocus);
      }
      moving_ = true;
      std::unique_ptr<QEvent> again(key->clone());
      QCoreApplication::sendEvent(option, again.get());
      moving_ = false;
      for (auto& [r, policy] : kept) r->setFocusPolicy(policy);
      return true;
    }
    return false;
  }
  if (event->type() == QEvent::FocusIn) {
    auto* option = qobject_cast<QRadioButton*>(watched);
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (option == nullptr || option->isChecked() ||
        (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
         reason != Qt::ActiveWindowFocusReason)) {
      return false;
    }
    // Tab into an option group lands on its chosen option (so does the first
    // focus of a window that opens on a group).
    for (QRadioButton* r : OthersInGroup(option)) {
      if (r->isChecked() && r->isEnabled() && r->isVisibleTo(r->window())) {
        r->setFocus(reason);
        return true;
      }
    }
  }
  return false;
}

void DesktopStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
  switch (element) {
    case PE_FrameFocusRect:
      // Around an option's or a check box's text, and a list's current item.
      DrawFocusFrame(painter, *option, option->rect);
      return;
    case PE_PanelButtonCommand:
    case PE_PanelLineEdit:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      if (Focused(*option)) DrawFocusFrame(painter, *option, option->rect.adjusted(1, 1, -1, -1));
      return;
    default:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
}

void DesktopStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  // A list with the focus is framed, also while none of its items is current.
  if (element == CE_ShapedFrame && qobject_cast<const QAbstractItemView*>(widget) != nullptr &&
      Focused(*option)) {
    DrawFocusFrame(painter, *option, option->rect);
  }
}

QSize DesktopStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                     const QSize& size, const QWidget* widget) const {
  QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
  // A button's text keeps half a character's width more room at each end
  // than the bare style gives (whose margins are a few pixels at most).
  if (type == CT_PushButton) result.rwidth() += option->fontMetrics.horizontalAdvance('M');
  return result;
}

int DesktopStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
  const int value = QProxyStyle::pixelMetric(metric, option, widget);
  if (metric == PM_DefaultFrameWidth && qobject_cast<const QAbstractItemView*>(widget) != nullptr) {
    return std::max(value, 2);
  }
  return value;
}

void UseDesktopConventions(QApplication& app) {
  if (app.findChild<DesktopKeys*>() != nullptr) return;
  app.installEventFilter(new DesktopKeys(&app));
  QApplication::setStyle(new DesktopStyle(QApplication::style()->name()));
}

}  // namespace quillon

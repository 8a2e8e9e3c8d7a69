#include "support/gui/WindowDriver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include "gui/platform/Encoding.h"

namespace quillon::testing {
namespace {

std::string Bytes(const QString& text) { return FromQStringReplacing(text); }

}  // namespace

void WindowDriver::Fail(const std::string& what) {
  ADD_FAILURE() << window_.objectName().toStdString() << ": " << what;
  throw TestAborted{};
}

void WindowDriver::Check() {
  QCoreApplication::processEvents();
  if (dialogs_.aborted()) throw TestAborted{};
}

void WindowDriver::Click(std::string_view name, int index) {
  auto& button = Get<QAbstractButton>(name, index);
  if (!button.isEnabled() || !button.isVisibleTo(&window_)) {
    Fail("clicked " + Name(name, index) + ", which is " +
         (button.isEnabled() ? "hidden" : "disabled"));
  }
  button.click();
  Check();
}

void WindowDriver::Select(std::string_view list, int row) {
  auto& view = Get<QAbstractItemView>(list);
  if (row >= view.model()->rowCount())
    Fail("no row " + std::to_string(row) + " in " + std::string(list));
  if (row < 0) {
    view.setCurrentIndex(QModelIndex());
    view.clearSelection();
  } else {
    view.setCurrentIndex(view.model()->index(row, 0));
  }
  Check();
}

void WindowDriver::Focus(std::string_view name) {
  QWidget& w = Get(name);
  window_.activateWindow();
  w.setFocus(Qt::TabFocusReason);
  // Offscreen windows are not always active: deliver the focus event anyway.
  if (!w.hasFocus()) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&w, &in);
  }
  Check();
}

void WindowDriver::Option(std::string_view name, int index) {
  auto& option = Get<QRadioButton>(name, index);
  if (!option.isEnabled()) Fail("chose " + Name(name, index) + ", which is disabled");
  option.click();
  Check();
}

void WindowDriver::Choose(std::string_view combo, int index) {
  auto& box = Get<QComboBox>(combo);
  if (!box.isEnabled()) Fail("chose in " + std::string(combo) + ", which is disabled");
  if (index < 0 || index >= box.count())
    Fail("no item " + std::to_string(index) + " in " + std::string(combo));
  box.setCurrentIndex(index);
  Check();
}

void WindowDriver::Type(std::string_view name, const QString& keys) {
  QTest::keyClicks(&Get(name), keys);
  Check();
}

void WindowDriver::Key(std::string_view name, int qt_key) {
  QTest::keyClick(&Get(name), static_cast<Qt::Key>(qt_key));
  Check();
}

std::vector<std::string> WindowDriver::Items(std::string_view list) {
  if (auto* box = window_.findChild<QComboBox*>(QString::fromStdString(std::string(list)))) {
    std::vector<std::string> out;
    for (int i = 0; i < box->count(); ++i) out.push_back(Bytes(box->itemText(i)));
    return out;
  }
  auto& view = Get<QAbstractItemView>(list);
  std::vector<std::string> out;
  const QAbstractItemModel& model = *view.model();
  for (int row = 0; row < model.rowCount(); ++row) {
    QVariant whole = model.data(model.index(row, 0), Qt::UserRole);
    out.push_back(
        Bytes(whole.isValid() ? whole.toString() : model.data(model.index(row, 0)).toString()));
  }
  return out;
}

std::vector<std::string> WindowDriver::Shown(std::string_view list) {
  auto& view = Get<QAbstractItemView>(list);
  std::vector<std::string> out;
  const QAbstractItemModel& model = *view.model();
  for (int row = 0; row < model.rowCount(); ++row) {
    out.push_back(Bytes(model.data(model.index(row, 0)).toString()));
  }
  return out;
}

int WindowDriver::Selected(std::string_view list) {
  auto& view = Get<QAbstractItemView>(list);
  const QModelIndexList rows = view.selectionModel()->selectedIndexes();
  return rows.isEmpty() ? -1 : rows.front().row();
}

std::string WindowDriver::Text(std::string_view name, int index) {
  QWidget& w = Get(name, index);
  if (auto* label = qobject_cast<QLabel*>(&w)) return Bytes(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(&w)) return Bytes(button->text());
  if (auto* edit = qobject_cast<QLineEdit*>(&w)) return Bytes(edit->text());
  if (auto* frame = qobject_cast<QGroupBox*>(&w)) return Bytes(frame->title());
  if (auto* box = qobject_cast<QComboBox*>(&w)) return Bytes(box->currentText());
  Fail(Name(name, index) + " has no text");
}

bool WindowDriver::Checked(std::string_view name, int index) {
  return Get<QAbstractButton>(name, index).isChecked();
}

std::string WindowDriver::States(std::string_view name, int first, int last) {
  std::string out;
  for (int i = first; i <= last; ++i) out += Enabled(name, i) ? '1' : '0';
  return out;
}

}  // namespace quillon::testing

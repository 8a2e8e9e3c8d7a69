// Drives a real window in a test by the names of its controls, as a user
// would: click, select, type, read. Control arrays are named by the control
// and its index ("cmdClass", 2 is the widget "cmdClass2"). A missing control,
// a control of another kind, or a click on a disabled or hidden button fails
// the test at once (TestAborted, see ScriptedDialogs.h).
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "support/gui/ScriptedDialogs.h"

namespace quillon::testing {

class WindowDriver {
 public:
  WindowDriver(QWidget& window, ScriptedDialogs& dialogs) : window_(window), dialogs_(dialogs) {}

  // The control itself.
  template <typename T = QWidget>
  T& Get(std::string_view name, int index = -1) {
    const std::string full = Name(name, index);
    T* w = window_.findChild<T*>(QString::fromStdString(full));
    if (w == nullptr) Fail("no control " + full + " of the expected kind");
    return *w;
  }

  // Presses a button (it must be enabled and visible).
  void Click(std::string_view name, int index = -1);
  // Selects row `row` of a list (-1: no selection), as a click on it would.
  void Select(std::string_view list, int row);
  // Gives a control the input focus.
  void Focus(std::string_view name);
  // Chooses an option button.
  void Option(std::string_view name, int index);
  // Chooses item `index` of a drop-down list, as picking it would.
  void Choose(std::string_view combo, int index);
  // Types `keys` into a text box (each a real key press), or presses a key.
  void Type(std::string_view name, const QString& keys);
  void Key(std::string_view name, int qt_key);

  // The whole texts the items of a list carry (records, report lines), as
  // bytes; and the texts it shows. A drop-down list's items are its texts.
  std::vector<std::string> Items(std::string_view list);
  std::vector<std::string> Shown(std::string_view list);
  int Selected(std::string_view list);

  // A label's, button's, text box's or frame's text, or a drop-down list's
  // chosen item, as bytes.
  std::string Text(std::string_view name, int index = -1);
  bool Enabled(std::string_view name, int index = -1) { return Get(name, index).isEnabled(); }
  bool Visible(std::string_view name, int index = -1) { return Get(name, index).isVisible(); }
  bool Checked(std::string_view name, int index = -1);
  // "1" or "0" per control of an array, indexes first to last ("1100").
  std::string States(std::string_view name, int first, int last);

 private:
  static std::string Name(std::string_view name, int index) {
    return index < 0 ? std::string(name) : std::string(name) + std::to_string(index);
  }
  [[noreturn]] void Fail(const std::string& what);
  // After an action: a modal window's action cut short goes on failing here.
  void Check();

  QWidget& window_;
  ScriptedDialogs& dialogs_;
};

}  // namespace quillon::testing

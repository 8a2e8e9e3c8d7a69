// A fresh program folder, scripted dialogs and shared values for one window test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "shell/Services.h"
#include "support/FixedClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace quillon::testing {

class GuiTest : public ::testing::Test {
 protected:
  Services services() { return {dir.folder(), dialogs, clock, values}; }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible()) w->close();
    }
  }
  template <typename T>
  static T* Find(QWidget& window, const char* name) {
    T* w = window.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  TempFolder dir;
  ScriptedDialogs dialogs;
  FixedClock clock{{2026, 12, 9}};
  SharedValues values;
};

}  // namespace quillon::testing

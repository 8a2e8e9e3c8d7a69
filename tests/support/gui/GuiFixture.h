// A fresh program folder, scripted dialogs, a recording printer and shared
// values for one window test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include "gui/shell/Services.h"
#include "support/core/FixedClock.h"
#include "support/core/RecordingPrinter.h"
#include "support/core/TempFolder.h"
#include "support/gui/ScriptedDialogs.h"
#include "support/gui/WindowDriver.h"

namespace quillon::testing {

class GuiTest : public ::testing::Test {
 protected:
  Services services() { return {dir.folder(), dialogs, clock, printer, values}; }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible()) w->close();
    }
  }
  WindowDriver Drive(QWidget& window) { return WindowDriver(window, dialogs); }

  TempFolder dir;
  ScriptedDialogs dialogs;
  FixedClock clock{{2026, 12, 9}};
  RecordingPrinter printer;
  SharedValues values;
};

}  // namespace quillon::testing

// The main of the window tests: one QApplication for all, headless.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/platform/DesktopConventions.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quillon::UseDesktopConventions(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// The window driver stops a test at the first control it cannot use, also
// from inside a modal window, without throwing through Qt's signal dispatch.
#include <gtest/gtest-spi.h>

#include <QDialog>
#include <QPushButton>

#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

class WindowDriverTest : public testing::GuiTest {};

TEST_F(WindowDriverTest, AMissingOrDisabledControlStopsTheTest) {
  QDialog window;
  window.setObjectName("frmTest");
  auto* button = new QPushButton("Off", &window);
  button->setObjectName("cmdOff");
  button->setEnabled(false);
  window.show();
  int went_on = 0;
  EXPECT_NONFATAL_FAILURE(
      {
        try {
          Drive(window).Click("cmdNone");
          ++went_on;
        } catch (const testing::TestAborted&) {
        }
      },
      "no control cmdNone");
  EXPECT_NONFATAL_FAILURE(
      {
        try {
          Drive(window).Click("cmdOff");
          ++went_on;
        } catch (const testing::TestAborted&) {
        }
      },
      "clicked cmdOff, which is disabled");
  EXPECT_EQ(went_on, 0);
}

TEST_F(WindowDriverTest, AFailureInsideAModalWindowClosesItAndStopsTheTest) {
  QDialog outer, inner;
  outer.setObjectName("frmOuter");
  inner.setObjectName("frmInner");
  auto* open = new QPushButton("Open", &outer);
  open->setObjectName("cmdOpen");
  int returned = 0;
  QObject::connect(open, &QPushButton::clicked, [&] {
    dialogs.ShowModal(inner);
    ++returned;  // the window's own code goes on after the nested window closed
  });
  outer.show();
  dialogs.ExpectModal("frmInner", [&](QDialog& w) { Drive(w).Click("cmdMissing"); });
  bool aborted = false;
  EXPECT_NONFATAL_FAILURE(
      {
        try {
          Drive(outer).Click("cmdOpen");
        } catch (const testing::TestAborted&) {
          aborted = true;
        }
      },
      "no control cmdMissing");
  EXPECT_TRUE(aborted);
  EXPECT_EQ(returned, 1);
  EXPECT_FALSE(inner.isVisible());
}

TEST_F(WindowDriverTest, AWindowThatNeverOpensFails) {
  EXPECT_NONFATAL_FAILURE(
      {
        testing::ScriptedDialogs script;
        script.ExpectModal("frmNever", [](QDialog&) {});
      },
      "expected modal window never shown: \"frmNever\"");
}

}  // namespace
}  // namespace quillon

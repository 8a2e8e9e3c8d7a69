// What a refused start says on the terminal, and why the diagnostics button
// of the menu is disabled.
#include <gtest/gtest.h>

#include "gui/shell/Application.h"
#include "gui/shell/frmMenu.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

class StartUpMessagesTest : public testing::GuiTest {};

TEST_F(StartUpMessagesTest, AnUnusableCatalogueOrPasswordFileIsSaidOnStandardErrorToo) {
  // No LESSONS.DAT.
  dialogs.ExpectMessage("The program cannot start.\r\n\r\n" + dir.path() +
                            "/LESSONS.DAT:\r\nthe lesson catalogue is missing from the program "
                            "folder",
                        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Main(services()), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "quillon: The program cannot start. " + dir.path() +
                "/LESSONS.DAT: the lesson catalogue is missing from the program folder\n");
  EXPECT_EQ(dialogs.exit_status, kExitFileProblem);

  // An s3.dat that cannot be read.
  testing::TempFolder folder;
  folder.Write("LESSONS.DAT", testing::MinimalLessons());
  folder.Write("s3.dat", "klm\r\n");
  testing::FaultyFolder broken(&folder.folder(), -1, testing::FaultyFolder::Mode::kFail);
  broken.fail_if = [](const std::string& what) { return what == "ReadFile s3.dat"; };
  testing::ScriptedDialogs dialogs2;
  SharedValues values2;
  dialogs2.ExpectMessage(
      "The program cannot start.\r\n\r\n" + folder.path() + "/s3.dat:\r\ninjected fault",
      Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Main({broken, dialogs2, clock, printer, values2}), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "quillon: The program cannot start. " + folder.path() + "/s3.dat: injected fault\n");
  EXPECT_EQ(dialogs2.exit_status, kExitFileProblem);
}

TEST_F(StartUpMessagesTest, TheDisabledDiagnosticsButtonSaysWhy) {
  {
    frmMenu menu(services());
    menu.Form_Load();
    auto d = Drive(menu);
    EXPECT_FALSE(d.Enabled("cmdDiagnostics"));
    EXPECT_EQ(d.Get("cmdDiagnostics").toolTip().toStdString(),
              "There are no diagnostic test results yet: the program folder has no Diag.dat.");
  }
  dir.Write("Diag.dat", "");
  frmMenu menu(services());
  menu.Form_Load();
  EXPECT_TRUE(Drive(menu).Enabled("cmdDiagnostics"));
  EXPECT_TRUE(Drive(menu).Get("cmdDiagnostics").toolTip().isEmpty());
}

}  // namespace
}  // namespace quillon

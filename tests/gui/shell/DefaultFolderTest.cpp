// The first start of an installed program: the default program folder is
// made, with the sample catalogue, only when the user says so.
#include <filesystem>

#include "gui/shell/Application.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

class DefaultFolderTest : public testing::GuiTest {
 protected:
  std::string Question(const std::string& folder, const std::string& state) {
    return "Quillon keeps its classes, rosters and records in a program folder that the "
           "tutoring lessons share. No folder was named, so it uses\r\n\r\n" +
           folder + "\r\n\r\n" + state +
           "\r\n\r\n(To work in another folder, start the program as: quillon FOLDER)";
  }
  const std::string kMissing =
      "This folder does not exist yet. Make it now, with the sample lesson catalogue?";
};

TEST_F(DefaultFolderTest, MadeOnlyAfterYesAndAskedOnlyOnce) {
  dir.Write("sample.dat", "C1 catalogue\r\n");
  const std::string home = dir.path() + "/home/Quillon", sample = dir.path() + "/sample.dat";

  dialogs.ExpectMessage(Question(home, kMissing), Buttons::kYesNo, Icon::kNone, Title::Default(),
                        Answer::kNo);
  EXPECT_EQ(PrepareDefaultFolder(dialogs, home, sample), kExitDone);
  EXPECT_FALSE(dir.Exists("home"));

  dialogs.ExpectMessage(Question(home, kMissing), Buttons::kYesNo, Icon::kNone, Title::Default(),
                        Answer::kYes);
  EXPECT_EQ(PrepareDefaultFolder(dialogs, home, sample), std::nullopt);
  EXPECT_EQ(dir.Read("home/Quillon/LESSONS.DAT"), "C1 catalogue\r\n");
  EXPECT_EQ(PrepareDefaultFolder(dialogs, home, sample), std::nullopt);  // no question now

  // A folder there without a catalogue is offered one; a failure ends the start.
  std::filesystem::create_directory(dir.path() + "/empty");
  dialogs.ExpectMessage(Question(dir.path() + "/empty",
                                 "This folder has no lesson catalogue (LESSONS.DAT) yet. Put the "
                                 "sample lesson catalogue in it?"),
                        Buttons::kYesNo, Icon::kNone, Title::Default(), Answer::kYes);
  dialogs.ExpectMessage("The program folder could not be made.\r\n\r\n" + dir.path() +
                            "/none.dat: cannot read the sample lesson catalogue: No such file or "
                            "directory",
                        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  EXPECT_EQ(PrepareDefaultFolder(dialogs, dir.path() + "/empty", dir.path() + "/none.dat"),
            kExitFileProblem);
  EXPECT_FALSE(dir.Exists("empty/LESSONS.DAT"));
  EXPECT_TRUE(dialogs.Done());
}

}  // namespace
}  // namespace quillon

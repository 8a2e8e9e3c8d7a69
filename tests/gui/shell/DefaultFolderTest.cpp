// The first start of an installed program: the default program folder is
// made, with the sample catalogue, only when the user says so; or another
// folder is chosen, checked, and remembered for the next start, while a
// folder named on the command line still wins.
#include <QSettings>
#include <filesystem>

#include "gui/shell/Application.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

class DefaultFolderTest : public testing::GuiTest {
 protected:
  std::string Question(const std::string& folder, const std::string& state) {
    return "Quillon keeps its classes, rosters and records in a program folder that the "
           "tutoring lessons share. No folder was named, so it uses\r\n\r\n" +
           folder + "\r\n\r\n" + state +
           "\r\n\r\nTo work in the folder the tutoring lessons already use (a lab's shared "
           "folder), press Choose Another Folder...; it is remembered for the next start.";
  }
  void ExpectQuestion(const std::string& folder, Answer answer,
                      const std::string& state = kMissing) {
    dialogs.ExpectQuestion(Question(folder, state), "Choose Another Folder...", answer);
  }
  static constexpr char kMissing[] =
      "This folder does not exist yet. Make it now, with the sample lesson catalogue?";
};

TEST_F(DefaultFolderTest, MadeOnlyAfterYesAndAskedOnlyOnce) {
  dir.Write("sample.dat", "C1 catalogue\r\n");
  const std::string home = dir.path() + "/home/Quillon", sample = dir.path() + "/sample.dat";
  std::string folder = home;
  bool chosen = true;

  ExpectQuestion(home, Answer::kNo);
  EXPECT_EQ(PrepareDefaultFolder(dialogs, sample, &folder, &chosen), kExitDone);
  EXPECT_FALSE(dir.Exists("home"));

  ExpectQuestion(home, Answer::kYes);
  EXPECT_EQ(PrepareDefaultFolder(dialogs, sample, &folder, &chosen), std::nullopt);
  EXPECT_EQ(folder, home);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(dir.Read("home/Quillon/LESSONS.DAT"), "C1 catalogue\r\n");
  EXPECT_EQ(PrepareDefaultFolder(dialogs, sample, &folder, &chosen), std::nullopt);  // no question

  // A folder there without a catalogue is offered one; a failure ends the start.
  std::filesystem::create_directory(dir.path() + "/empty");
  folder = dir.path() + "/empty";
  ExpectQuestion(folder, Answer::kYes,
                 "This folder has no lesson catalogue (LESSONS.DAT) yet. Put the sample lesson "
                 "catalogue in it?");
  dialogs.ExpectMessage("The program folder could not be made.\r\n\r\n" + dir.path() +
                            "/none.dat: cannot read the sample lesson catalogue: No such file or "
                            "directory",
                        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
  EXPECT_EQ(PrepareDefaultFolder(dialogs, dir.path() + "/none.dat", &folder, &chosen),
            kExitFileProblem);
  EXPECT_FALSE(dir.Exists("empty/LESSONS.DAT"));
  EXPECT_TRUE(dialogs.Done());
}

// A lab's shared folder chosen at the first start: a folder without the
// lessons' catalogue is refused with the reason, the chosen one is used and
// remembered, the next start asks nothing, the command line still wins, and
// a remembered folder gone is said before the question comes back.
TEST_F(DefaultFolderTest, AnotherFolderChosenAtTheFirstStartIsRememberedPerUser) {
  for (const char* sub : {"lab", "bad", "bin", "other"}) {
    std::filesystem::create_directory(dir.path() + "/" + sub);
  }
  dir.Write("lab/LESSONS.DAT", testing::MinimalLessons());
  dir.Write("bad/LESSONS.DAT", "not a catalogue");
  QSettings settings(QString::fromStdString(dir.path() + "/settings.conf"), QSettings::IniFormat);
  const std::string home_folder = dir.path() + "/home/Quillon", lab = dir.path() + "/lab";
  const StartFolderRequest start{std::nullopt, dir.path() + "/bin", dir.path() + "/home",
                                 dir.path() + "/sample.dat"};
  int cannot = 0;
  const auto cannot_start = [&cannot](const std::string&) {
    ++cannot;
    return kExitFileProblem;
  };
  std::string folder;

  ExpectQuestion(home_folder, Answer::kOther);
  dialogs.ExpectFolder("Choose the Program Folder", dir.path() + "/other");
  dialogs.ExpectMessage(dir.path() +
                            "/other\r\n\r\nThis folder cannot be the program folder: it has no "
                            "lesson catalogue (LESSONS.DAT), so it is not the folder the "
                            "tutoring lessons use.",
                        Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  ExpectQuestion(home_folder, Answer::kOther);
  dialogs.ExpectFolder("Choose the Program Folder", "");  // cancelled: asked again
  ExpectQuestion(home_folder, Answer::kOther);
  dialogs.ExpectFolder("Choose the Program Folder", lab);
  EXPECT_EQ(ChooseStartFolder(dialogs, settings, start, &folder, cannot_start), std::nullopt);
  EXPECT_EQ(folder, lab);
  EXPECT_EQ(settings.value(kProgramFolderSetting).toString().toStdString(), lab);
  EXPECT_FALSE(dir.Exists("home"));  // the default was never made
  EXPECT_TRUE(dialogs.Done());

  // The next start: no question.
  folder.clear();
  EXPECT_EQ(ChooseStartFolder(dialogs, settings, start, &folder, cannot_start), std::nullopt);
  EXPECT_EQ(folder, lab);
  // The command line wins, and is not remembered.
  StartFolderRequest named = start;
  named.argument = dir.path() + "/bad";
  EXPECT_EQ(ChooseStartFolder(dialogs, settings, named, &folder, cannot_start), std::nullopt);
  EXPECT_EQ(folder, dir.path() + "/bad");
  EXPECT_EQ(settings.value(kProgramFolderSetting).toString().toStdString(), lab);

  // The shared folder not connected: said, then the first-start question.
  std::filesystem::rename(lab, dir.path() + "/away");
  dialogs.ExpectMessage("The program folder chosen last time cannot be used now:\r\n\r\n" + lab +
                            ": there is no such folder.\r\n\r\n(A shared folder may need to be "
                            "connected first.)",
                        Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  ExpectQuestion(home_folder, Answer::kNo);
  EXPECT_EQ(ChooseStartFolder(dialogs, settings, start, &folder, cannot_start), kExitDone);
  EXPECT_EQ(settings.value(kProgramFolderSetting).toString().toStdString(), lab);  // kept
  EXPECT_EQ(cannot, 0);
  EXPECT_TRUE(dialogs.Done());
}

}  // namespace
}  // namespace quillon

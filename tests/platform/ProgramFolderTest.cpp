// Which folder the desktop program works in, and making the default one.
#include <gtest/gtest.h>

#include <optional>

#include "platform/ProgramFolder.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

TEST(ProgramFolderTest, TheArgumentWinsThenTheRememberedThenACatalogueBesideTheProgramThenHome) {
  testing::TempFolder with_catalogue, without;
  with_catalogue.Write("LESSONS.DAT", "x");
  struct Case {
    std::optional<std::string> argument, remembered;
    std::string program_dir, home;
    std::string path;
    bool is_default, is_remembered;
  } cases[] = {
      {"/srv/q", "/srv/lab", with_catalogue.path(), "/home/ann", "/srv/q", false, false},
      {std::nullopt, "/srv/lab", with_catalogue.path(), "/home/ann", "/srv/lab", false, true},
      {std::nullopt, "", with_catalogue.path(), "/home/ann", with_catalogue.path(), false, false},
      {std::nullopt, std::nullopt, without.path(), "/home/ann", "/home/ann/Quillon", true, false},
  };
  for (const Case& c : cases) {
    FolderChoice choice;
    ASSERT_TRUE(ChooseProgramFolder(c.argument, c.remembered, c.program_dir, c.home, &choice).ok());
    EXPECT_EQ(choice.path, c.path);
    EXPECT_EQ(choice.is_default, c.is_default) << c.path;
    EXPECT_EQ(choice.is_remembered, c.is_remembered) << c.path;
  }
  FolderChoice choice;
  Status s = ChooseProgramFolder(std::nullopt, std::nullopt, without.path(), "", &choice);
  EXPECT_EQ(s.ToString(),
            "$HOME: there is no home folder for the default program folder; name the program "
            "folder: quillon FOLDER");
  s = ChooseProgramFolder("", std::nullopt, with_catalogue.path(), "/home/ann", &choice);
  EXPECT_EQ(s.ToString(), "\"\": an empty name is not a folder");
  EXPECT_EQ(InstalledCatalogue("/usr/bin"), "/usr/share/quillon/LESSONS.DAT");
}

TEST(ProgramFolderTest, MakingAFolderNeverReplacesACatalogue) {
  testing::TempFolder sample, target;
  sample.Write("LESSONS.DAT", "sample\r\n");
  target.Write("LESSONS.DAT", "the school's own\r\n");
  Status s = MakeProgramFolder(target.path(), sample.path() + "/LESSONS.DAT");
  EXPECT_EQ(s.ToString(), target.path() + "/LESSONS.DAT: cannot create the file: File exists");
  EXPECT_EQ(target.Read("LESSONS.DAT"), "the school's own\r\n");

  // A missing sample makes no folder at all.
  const std::string nested = target.path() + "/a/b";
  s = MakeProgramFolder(nested, sample.path() + "/NONE.DAT");
  EXPECT_EQ(s.ToString(), sample.path() +
                              "/NONE.DAT: cannot read the sample lesson catalogue: No such file "
                              "or directory");
  EXPECT_FALSE(target.Exists("a"));
}

}  // namespace
}  // namespace quillon

// The class list of the three class windows: a class file that cannot be
// read is said and leaves the list empty; a class numbered 0 ends the
// program.
#include <functional>
#include <memory>

#include "data/ClassFiles.h"
#include "gui/classes/frmClasses.h"
#include "gui/diagnostics/frmDiagnostics.h"
#include "gui/records/frmStudents.h"
#include "support/core/Builders.h"
#include "support/core/FaultyFolder.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ClassRec;

class ClassListTest : public testing::GuiTest {
 protected:
  const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>(Services)>>>
      windows_ = {
          {"frmClasses", [](Services s) { return std::make_unique<frmClasses>(s); }},
          {"frmStudents", [](Services s) { return std::make_unique<frmStudents>(s); }},
          {"frmDiagnostics", [](Services s) { return std::make_unique<frmDiagnostics>(s); }},
      };
};

TEST_F(ClassListTest, AnUnreadableFileIsSaidAndAClassZeroEndsTheProgram) {
  dir.Write(kClassesFile, ClassRec("Two", "060", "2") + ClassRec("One", "060", "1"));
  testing::FaultyFolder faulty(&dir.folder(), -1, testing::FaultyFolder::Mode::kFail);
  faulty.fail_if = [](const std::string& what) { return what.ends_with(" CLASSES.DAT"); };
  for (const auto& [name, make] : windows_) {
    dialogs.ExpectMessage(
        "The classes cannot be read.\r\n\r\n" + dir.path() + "/CLASSES.DAT: injected fault",
        Buttons::kOk, Icon::kCritical, Title::Default(), Answer::kOk);
    std::unique_ptr<QWidget> w = make({faulty, dialogs, clock, printer, values});
    EXPECT_TRUE(Drive(*w).Items("lstClasses").empty()) << name;
    EXPECT_FALSE(dialogs.Ended()) << name;
  }
  for (const auto& [name, make] : windows_) {
    std::unique_ptr<QWidget> w = make(services());
    EXPECT_EQ(Drive(*w).Shown("lstClasses"), (std::vector<std::string>{"One", "Two"})) << name;
    EXPECT_EQ(Drive(*w).Selected("lstClasses"), -1) << name;
  }

  dir.Write(kClassesFile, ClassRec("One", "060", "1") + ClassRec("Nothing", "060", "00"));
  for (const auto& [name, make] : windows_) {
    dialogs.ended = false;
    dialogs.ExpectMessage("Class number <=0!", Buttons::kOk, Icon::kNone, Title::Default(),
                          Answer::kOk);
    std::unique_ptr<QWidget> w = make(services());
    EXPECT_TRUE(dialogs.Ended()) << name;
    EXPECT_EQ(dialogs.exit_status, kExitFileProblem) << name;
  }
  EXPECT_TRUE(dialogs.Done());
}

}  // namespace
}  // namespace quillon

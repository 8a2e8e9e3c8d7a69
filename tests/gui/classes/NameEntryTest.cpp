// Entering class and student names: the boxes let in no more than the files
// keep, a blank name is answered with a word, and the passing-grade label
// shows no grade while no class is selected.
#include <QLineEdit>

#include "data/ClassFiles.h"
#include "gui/classes/frmClasses.h"
#include "gui/classes/frmStudentName.h"
#include "support/core/Builders.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

using testing::ClassRec;
using testing::StudentRec;

class NameEntryTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    dir.Write(kClassesFile, ClassRec("Algebra", "075", "1"));
    dir.Write(kStudentsFile, StudentRec("Ann", "1", "1"));
  }
  void Say(const std::string& prompt) {
    dialogs.ExpectMessage(prompt, Buttons::kOk, Icon::kNone, Title::Default(), Answer::kOk);
  }
};

TEST_F(NameEntryTest, TheClassNameBoxLetsInTwentySevenCharactersAndSaysWhenBlank) {
  frmClasses window(services());
  auto d = Drive(window);
  dialogs.ExpectInput("Type the name of the class you would like to create:", "Create New Class",
                      "Alexandria Montgomery-Smith Junior");
  d.Click("cmdClass", 0);
  dialogs.ExpectInput("Type the name of the class you would like to create:", "Create New Class",
                      "   ");
  Say("Enter the class name.");
  d.Click("cmdClass", 0);
  d.Select("lstClasses", 0);
  dialogs.ExpectInput("Type the new name for the following class:\r\rAlexandria Montgomery-Smi",
                      "Edit Class", "  ");
  Say("Enter the class name.");
  d.Click("cmdClass", 3);
  EXPECT_EQ(dialogs.input_limits, (std::vector<int>{27, 27, 27}));
  EXPECT_EQ(dir.Read(kClassesFile),
            ClassRec("Algebra", "075", "1") + "Alexandria Montgomery-Smith0602 ");
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(NameEntryTest, TheStudentNameBoxLetsInTwentyOneCharactersAndSaysWhenBlank) {
  frmClasses window(services());
  auto d = Drive(window);
  d.Select("lstClasses", 0);
  dialogs.ExpectModal<frmStudentName>([this](frmStudentName& w) {
    auto s = Drive(w);
    s.Type("Text1", "   ");
    Say("Enter the student's name.");
    s.Click("cmdOK");
    EXPECT_TRUE(w.isVisible());  // still open, to be filled in
    s.Type("Text1", "Alexandria Montgomery-Smith");
    EXPECT_EQ(s.Text("Text1"), "   Alexandria Montgomery");  // 21 after the blanks
    s.Get<QLineEdit>("Text1").selectAll();
    s.Get<QLineEdit>("Text1").insert("Alexandria Montgomery-Smith");  // as pasted
    EXPECT_EQ(s.Text("Text1"), "Alexandria Montgomery");
    s.Click("cmdOK");
  });
  d.Click("cmdStudent", 0);
  EXPECT_EQ(dir.Read(kStudentsFile),
            StudentRec("Ann", "1", "1") + StudentRec("Alexandria Montgomery", "2", "1"));
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(NameEntryTest, ThePassingGradeLabelShowsNoGradeWhileNoClassIsSelected) {
  frmClasses window(services());
  auto d = Drive(window);
  const std::string none = "Passing Grade for Selected Class:";
  EXPECT_EQ(d.Text("Label2"), none);
  d.Select("lstClasses", 0);
  EXPECT_EQ(d.Text("Label2"), "Passing Grade for Selected Class: 75%");
  dialogs.ExpectInput("Type the name of the class you would like to create:", "Create New Class",
                      "Geometry");
  d.Click("cmdClass", 0);  // the list reloads without a selection
  EXPECT_EQ(d.Selected("lstClasses"), -1);
  EXPECT_EQ(d.Text("Label2"), none);
  d.Select("lstClasses", 1);  // Geometry
  d.Option("optPassingGrade", 5);
  d.Click("cmdChangePassingGrade");  // the same class stays selected
  EXPECT_EQ(d.Text("Label2"), "Passing Grade for Selected Class: 90%");
  EXPECT_TRUE(dialogs.Done());
}

}  // namespace
}  // namespace quillon

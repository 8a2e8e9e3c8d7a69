#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "base/Password.h"
#include "gui/shell/frmMenu.h"
#include "gui/shell/frmPassword.h"
#include "support/core/FaultyFolder.h"
#include "support/gui/GuiFixture.h"

namespace quillon {
namespace {

class PasswordWindowTest : public testing::GuiTest {
 protected:
  // s3.dat holding `password` scrambled, as the lessons' set-up writes it.
  void StorePassword(const std::string& password) {
    dir.Write("s3.dat", "  " + ScramblePassword(password) + "  \r\nsecond line\r\n");
  }
  // Types each entry in turn and presses OK; counts the entries typed.
  std::function<void(QDialog&)> Typing(std::vector<QString> entries) {
    return [this, entries](QDialog& window) {
      auto d = Drive(window);
      for (const QString& e : entries) {
        d.Get<QLineEdit>("txtPassword").setText(e);
        d.Click("cmdOK");
        ++typed;
      }
    };
  }
  void ExpectIncorrect() {
    dialogs.ExpectMessage("Password is incorrect.", Buttons::kOk, Icon::kNone, Title::Default(),
                          Answer::kOk);
  }
  void ExpectThreeFailures() {
    ExpectIncorrect();
    ExpectIncorrect();
    dialogs.ExpectMessage("3 Password attempts have failed.", Buttons::kOk, Icon::kNone,
                          Title::Default(), Answer::kOk);
  }
  int typed = 0;
};

TEST_F(PasswordWindowTest, TwoWrongThenRightOpensTheMenu) {
  StorePassword("abc");
  dialogs.ExpectModal("frmPassword", Typing({"xyz", "ab", "abc"}));
  ExpectIncorrect();
  ExpectIncorrect();
  frmMenu menu(services());
  menu.Form_Load();
  EXPECT_FALSE(dialogs.ended);
  EXPECT_EQ(typed, 3);
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(PasswordWindowTest, ThirdWrongEntryEndsTheProgramWithoutTheMenu) {
  StorePassword("abc");
  dialogs.ExpectModal("frmPassword", Typing({"a", "b", "c"}));
  ExpectThreeFailures();
  frmMenu menu(services());
  menu.Form_Load();
  EXPECT_TRUE(dialogs.ended);
  EXPECT_EQ(dialogs.exit_status, kExitRefused);
  EXPECT_FALSE(menu.isVisible());
}

TEST_F(PasswordWindowTest, TypedTextIsLoweredAndTrimmed) {
  StorePassword("abc");
  // " ABC " is accepted at once; "ABD" before it would have been refused.
  dialogs.ExpectModal("frmPassword", Typing({"ABD", " ABC "}));
  ExpectIncorrect();
  frmMenu menu(services());
  menu.Form_Load();
  EXPECT_EQ(typed, 2);
  EXPECT_FALSE(dialogs.ended);
}

TEST_F(PasswordWindowTest, AStoredCapitalCanNeverBeMatched) {
  StorePassword("Abc");
  dialogs.ExpectModal("frmPassword", Typing({"Abc", "ABC", "abc"}));
  ExpectThreeFailures();
  frmMenu menu(services());
  menu.Form_Load();
  EXPECT_TRUE(dialogs.ended);
}

TEST_F(PasswordWindowTest, EmptyOrBlankStoredPasswordAsksNothing) {
  for (const char* contents : {"", "   \r\n", "\r\nklm\r\n"}) {
    dir.Write("s3.dat", contents);
    dialogs.ExpectModal("frmPassword", nullptr);  // it closes itself on activation
    frmMenu menu(services());
    menu.Form_Load();
    EXPECT_FALSE(dialogs.ended) << '"' << contents << '"';
    EXPECT_TRUE(dialogs.Done());
  }
}

TEST_F(PasswordWindowTest, ClosingTheWindowEndsTheProgram) {
  for (bool escape : {false, true}) {
    testing::ScriptedDialogs dialogs2;
    StorePassword("abc");
    dialogs2.ExpectModal("frmPassword", [escape](QDialog& window) {
      if (escape) {
        window.reject();
      } else {
        window.close();
      }
    });
    frmMenu menu({dir.folder(), dialogs2, clock, printer, values});
    menu.Form_Load();
    EXPECT_TRUE(dialogs2.ended);
    EXPECT_EQ(dialogs2.exit_status, kExitRefused);
  }
}

// An s3.dat that exists but cannot be read keeps the gate shut: the start
// stops with a message that names the file.
TEST_F(PasswordWindowTest, AnUnreadablePasswordFileStopsTheStart) {
  StorePassword("abc");
  testing::FaultyFolder broken(&dir.folder(), -1, testing::FaultyFolder::Mode::kFail);
  broken.fail_if = [](const std::string& what) { return what == "ReadFile s3.dat"; };
  dialogs.ExpectMessage(
      "The program cannot start.\r\n\r\n" + dir.path() + "/s3.dat:\r\ninjected fault", Buttons::kOk,
      Icon::kCritical, Title::Default(), Answer::kOk);
  frmMenu menu({broken, dialogs, clock, printer, values});
  menu.Form_Load();
  EXPECT_TRUE(dialogs.ended);
  EXPECT_EQ(dialogs.exit_status, kExitFileProblem);
}

TEST_F(PasswordWindowTest, WindowControls) {
  StorePassword("abcd");
  frmPassword window(services());
  auto d = Drive(window);
  EXPECT_EQ(window.windowTitle(), "Password");
  EXPECT_EQ(window.AdminPassword(), "abcd");
  EXPECT_EQ(d.Text("Label1"), "Enter Administrator Password");
  auto& box = d.Get<QLineEdit>("txtPassword");
  EXPECT_EQ(box.maxLength(), 4);
  EXPECT_EQ(box.echoMode(), QLineEdit::Password);
  EXPECT_EQ(box.style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, &box), '*');
  EXPECT_TRUE(d.Get<QPushButton>("cmdOK").isDefault());  // Enter presses OK
}

}  // namespace
}  // namespace quillon

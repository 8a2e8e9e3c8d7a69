#include <QDialog>

#include "gui/GuiFixture.h"
#include "shell/Password.h"
#include "shell/frmMenu.h"
#include "shell/frmPassword.h"

namespace quillon {
namespace {

using testing::ProgramEnded;

class PasswordWindowTest : public testing::GuiTest {
 protected:
  // s3.dat holding `password` scrambled, as the lessons' set-up writes it.
  void StorePassword(const std::string& password) {
    dir.Write("s3.dat", "  " + ScramblePassword(password) + "  \r\nsecond line\r\n");
  }
  // Types each entry in turn and presses OK.
  std::function<void(QDialog&)> Typing(std::vector<QString> entries) {
    return [entries](QDialog& window) {
      for (const QString& e : entries) {
        auto* box = window.findChild<QLineEdit*>("txtPassword");
        box->setText(e);
        window.findChild<QPushButton*>("cmdOK")->click();
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
};

TEST_F(PasswordWindowTest, TwoWrongThenRightOpensTheMenu) {
  StorePassword("abc");
  dialogs.ExpectModal("frmPassword", Typing({"xyz", "ab", "abc"}));
  ExpectIncorrect();
  ExpectIncorrect();
  frmMenu menu(services());
  menu.Form_Load();
  EXPECT_FALSE(dialogs.ended);
  EXPECT_TRUE(dialogs.Done());
}

TEST_F(PasswordWindowTest, ThirdWrongEntryEndsTheProgramWithoutTheMenu) {
  StorePassword("abc");
  dialogs.ExpectModal("frmPassword", Typing({"a", "b", "c"}));
  ExpectThreeFailures();
  frmMenu menu(services());
  EXPECT_THROW(menu.Form_Load(), ProgramEnded);
  EXPECT_FALSE(menu.isVisible());
}

TEST_F(PasswordWindowTest, TypedTextIsLoweredAndTrimmed) {
  StorePassword("abc");
  dialogs.ExpectModal("frmPassword", Typing({" ABC"}));
  frmMenu menu(services());
  menu.Form_Load();
  EXPECT_FALSE(dialogs.ended);
}

TEST_F(PasswordWindowTest, AStoredCapitalCanNeverBeMatched) {
  StorePassword("Abc");
  dialogs.ExpectModal("frmPassword", Typing({"Abc", "ABC", "abc"}));
  ExpectThreeFailures();
  frmMenu menu(services());
  EXPECT_THROW(menu.Form_Load(), ProgramEnded);
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
  StorePassword("abc");
  dialogs.ExpectModal("frmPassword", [](QDialog& window) { window.close(); });
  frmMenu menu(services());
  EXPECT_THROW(menu.Form_Load(), ProgramEnded);
  StorePassword("abc");
  dialogs.ExpectModal("frmPassword", [](QDialog& window) { window.reject(); });  // Escape
  frmMenu again(services());
  EXPECT_THROW(again.Form_Load(), ProgramEnded);
}

TEST_F(PasswordWindowTest, WindowControls) {
  StorePassword("abcd");
  frmPassword window(services());
  EXPECT_EQ(window.windowTitle(), "Password");
  EXPECT_EQ(window.AdminPassword(), "abcd");
  auto* box = Find<QLineEdit>(window, "txtPassword");
  EXPECT_EQ(box->maxLength(), 4);
  EXPECT_EQ(box->echoMode(), QLineEdit::Password);
  EXPECT_TRUE(Find<QPushButton>(window, "cmdOK")->isDefault());  // Enter presses OK
}

}  // namespace
}  // namespace quillon

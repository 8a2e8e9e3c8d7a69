// A Dialogs double for window tests: the test lists every message box, input
// box and modal window it expects, in order, with the answer to give; any
// other prompt, title, button set or icon fails the test. Ending the program
// throws ProgramEnded.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

class QDialog;

namespace quillon::testing {

struct ProgramEnded {};

class ScriptedDialogs : public Dialogs {
 public:
  ~ScriptedDialogs() override;

  // Expect a message box and answer it.
  ScriptedDialogs& ExpectMessage(std::string prompt, Buttons buttons, Icon icon, Title title,
                                 Answer answer);
  // Expect an input box and type `answer` ("" = cancel).
  ScriptedDialogs& ExpectInput(std::string prompt, std::string title, std::string answer);
  // Expect a modal window with this objectName; `act` runs while it is open
  // (it may click its buttons); the window is closed afterwards if still open.
  ScriptedDialogs& ExpectModal(std::string object_name, std::function<void(QDialog&)> act);

  Answer MessageBox(const std::string& prompt, Buttons buttons, Icon icon,
                    const Title& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& default_text) override;
  void Beep() override { ++beeps; }
  void SetBusy(bool busy) override { busy_now = busy; }
  int ShowModal(QDialog& window) override;
  [[noreturn]] void EndProgram() override;

  // True when every expectation was met.
  bool Done() const { return script_.empty(); }

  int beeps = 0;
  bool busy_now = false;
  bool ended = false;
  std::vector<std::string> prompts;  // every message prompt shown, in order

 private:
  struct Step {
    enum Kind { kMessage, kInput, kModal } kind = kMessage;
    std::string text;  // prompt, or window name
    Buttons buttons = Buttons::kOk;
    Icon icon = Icon::kNone;
    Title title;
    std::string input_title;
    Answer answer = Answer::kOk;
    std::string typed;
    std::function<void(QDialog&)> act;
  };
  bool Next(Step::Kind kind, const std::string& what, Step* step);
  std::deque<Step> script_;
};

}  // namespace quillon::testing

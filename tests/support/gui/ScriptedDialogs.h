// A Dialogs double for window tests: the test lists every message box, input
// box and modal window it expects, in order, with the answer to give; any
// other prompt, title, button set or icon fails the test. Ending the program
// is recorded (`ended`, `exit_status`); the windows then return on their own.
#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "gui/platform/Dialogs.h"

namespace quillon::testing {

// Thrown by the window driver when a test cannot go on (a missing control,
// a disabled button clicked); never thrown through a Qt signal: inside a
// modal window's action the double catches it, closes the window, ends the
// program so that every window returns, and the driver throws it again once
// it is back in the test's own code.
struct TestAborted {};

class ScriptedDialogs : public Dialogs {
 public:
  ~ScriptedDialogs() override;

  // Expect a message box and answer it.
  ScriptedDialogs& ExpectMessage(std::string prompt, Buttons buttons, Icon icon, Title title,
                                 Answer answer);
  // Expect a message box and press Enter: the answer of its default button.
  ScriptedDialogs& ExpectEnter(std::string prompt, Buttons buttons, Icon icon, Title title);
  // Expect an input box and type `answer` ("" = cancel).
  ScriptedDialogs& ExpectInput(std::string prompt, std::string title, std::string answer);
  // Expect a save-file dialog with this title and choose `path` ("" =
  // cancel).
  ScriptedDialogs& ExpectSaveFile(std::string title, std::string path);
  // Expect a file dialog with this title and choose `path` ("" = cancel).
  ScriptedDialogs& ExpectFile(std::string title, std::string path);
  // Expect a question with Yes, No and the button `other`, and answer it.
  ScriptedDialogs& ExpectQuestion(std::string prompt, std::string other, Answer answer);
  // Expect a folder dialog with this title and choose `path` ("" = cancel).
  ScriptedDialogs& ExpectFolder(std::string title, std::string path);
  // Expect the print dialog and choose a PDF file `path` with pages `from`
  // to `to` (0, 0: all), or with `path` "" cancel it.
  ScriptedDialogs& ExpectPrintDialog(std::string path, int from = 0, int to = 0);
  // Expect a modal window with this objectName; `act` runs while it is open
  // (it may click its buttons); the window is closed afterwards if still
  // open. A window that closes itself before `act` could run fails the test.
  ScriptedDialogs& ExpectModal(std::string object_name, std::function<void(QDialog&)> act);
  // The same for a window of class W.
  template <typename W>
  ScriptedDialogs& ExpectModal(std::function<void(W&)> act) {
    return ExpectModal(W::staticMetaObject.className(), [act](QDialog& window) {
      if (act) act(static_cast<W&>(window));
    });
  }

  Answer MessageBox(const std::string& prompt, Buttons buttons, Icon icon,
                    const Title& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& default_text, int max_length) override;
  std::string SaveFileName(const std::string& title, const std::string& suggested,
                           const std::string& filter) override;
  std::string OpenFileName(const std::string& title, const std::string& filter) override;
  Answer QuestionWithOther(const std::string& prompt, const std::string& other,
                           const Title& title) override;
  std::string FolderName(const std::string& title, const std::string& start) override;
  bool PrintDialog(QPrinter& printer) override;
  void Beep() override { ++beeps; }
  void SetBusy(bool busy) override;
  int ShowModal(QDialog& window) override;
  void EndProgram(int status) override;
  bool Ended() const override { return ended; }

  // True when every expectation was met.
  bool Done() const { return script_.empty(); }
  // True once a modal window's action was cut short by TestAborted.
  bool aborted() const { return aborted_; }

  int beeps = 0;
  bool busy_now = false;
  int busy_calls = 0;  // SetBusy(true) calls
  bool ended = false;
  int exit_status = -1;
  std::vector<std::string> prompts;          // every message prompt shown, in order
  std::vector<int> input_limits;             // every input box's most characters (0: none)
  std::vector<std::string> suggested_files;  // every save-file dialog's path offered first
  // The document name of every print dialog, and the PDF file it offered
  // first ("" for a printer).
  std::vector<std::string> print_dialogs, print_files;

 private:
  struct Step {
    enum Kind {
      kMessage,
      kInput,
      kModal,
      kSaveFile,
      kFile,
      kPrint,
      kQuestion,
      kFolder
    } kind = kMessage;
    std::string text;  // prompt, or window name
    Buttons buttons = Buttons::kOk;
    Icon icon = Icon::kNone;
    Title title;
    std::string input_title;
    Answer answer = Answer::kOk;
    bool enter = false;  // answer as the Enter key does
    std::string typed;
    int from = 0, to = 0;  // the pages chosen in the print dialog
    std::function<void(QDialog&)> act;
  };
  bool Next(Step::Kind kind, const std::string& what, Step* step);
  std::deque<Step> script_;
  bool aborted_ = false;
};

}  // namespace quillon::testing

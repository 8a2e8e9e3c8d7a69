// Every message box, input box, beep, busy pointer, modal window and end of
// the program goes through Dialogs, so that a test can drive a real window
// headless and answer its questions (tests/support/gui/ScriptedDialogs.h).
// Texts are single-byte, as the data files hold them.
#pragma once

#include <string>

#include "base/Status.h"

class QDialog;
class QPrinter;

namespace quillon {

// The buttons of a message box. The first button is the default (Enter,
// Space) but for the DefaultNo sets, which every question that deletes or
// erases something asks with, so that a stray key never erases.
enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel, kYesNoDefaultNo, kYesNoCancelDefaultNo };
enum class Icon { kNone, kCritical };
enum class Answer { kOk, kCancel, kYes, kNo, kOther };

// The answer of a box's default button, the one Enter gives.
constexpr Answer DefaultAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
    case Buttons::kOkCancel:
      return Answer::kOk;
    case Buttons::kYesNo:
    case Buttons::kYesNoCancel:
      return Answer::kYes;
    case Buttons::kYesNoDefaultNo:
    case Buttons::kYesNoCancelDefaultNo:
      return Answer::kNo;
  }
  return Answer::kCancel;
}

// A message box title: the platform's default title, or a given text (the
// empty text included).
struct Title {
  bool is_default = true;
  std::string text;
  static Title Default() { return Title{}; }
  static Title Text(std::string t) { return Title{false, std::move(t)}; }
  bool operator==(const Title&) const = default;
};

// The desktop program's exit statuses.
enum ExitStatus {
  kExitDone = 0,          // "End Program", or the menu closed
  kExitRefused = 1,       // the administrator password was not given
  kExitUsage = 2,         // a wrong command line
  kExitFileProblem = 3,   // a data file or the program folder cannot be used
  kExitNoDisplay = 4,     // no display to show the windows on
  kExitPrinterError = 5,  // a printer fault other than "off" or "out of paper"
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a message box; the prompt may hold line breaks (CR, or CR LF).
  virtual Answer MessageBox(const std::string& prompt, Buttons buttons, Icon icon,
                            const Title& title) = 0;
  // The text entered, or the empty text when cancelled. A `max_length` above
  // 0 is the most characters the box lets the user type or paste.
  virtual std::string InputBox(const std::string& prompt, const std::string& title,
                               const std::string& default_text, int max_length = 0) = 0;
  // Asks where to save a file: the full path chosen (local 8-bit), or the
  // empty text when cancelled. `suggested` is the path offered first;
  // `filter` as Qt's file dialogs take it ("CSV files (*.csv)"). Whether
  // an existing file may be replaced is the caller's question to ask.
  virtual std::string SaveFileName(const std::string& title, const std::string& suggested,
                                   const std::string& filter) = 0;
  // Asks for a file to open: `title` over the platform's file dialog, the
  // files shown chosen by `filter` ("Roster files (*.csv *.txt)"). The path
  // as the system spells it (UTF-8), or "" when cancelled.
  virtual std::string OpenFileName(const std::string& title, const std::string& filter) {
    (void)title, (void)filter;
    return std::string();
  }
  // A question with Yes, No and a third button captioned `other` ("Choose
  // Another Folder..."): kYes, kNo (also for Escape and the close control)
  // or kOther.
  virtual Answer QuestionWithOther(const std::string& prompt, const std::string& other,
                                   const Title& title) {
    (void)other;
    return MessageBox(prompt, Buttons::kYesNo, Icon::kNone, title);
  }
  // Asks for a folder, starting in `start`: its path (local 8-bit), or ""
  // when cancelled.
  virtual std::string FolderName(const std::string& title, const std::string& start) {
    (void)title, (void)start;
    return std::string();
  }
  // The platform's print dialog over `printer` (printer, copies, pages, or
  // a PDF file, as set up before); true when the user chose to print.
  virtual bool PrintDialog(QPrinter& printer) {
    (void)printer;
    return true;
  }
  virtual void Beep() = 0;
  virtual void SetBusy(bool busy) = 0;
  // Shows `window` modally; returns when it has closed, with its result code.
  virtual int ShowModal(QDialog& window) = 0;
  // Ends the program with `status`: every open window closes and returns to
  // its caller, and every caller returns at once when Ended() (nothing is
  // written after the end; no file is ever held open between actions).
  virtual void EndProgram(int status) = 0;
  virtual bool Ended() const = 0;
};

// Runs `work` (a removal, which may wait while another holds the folder's
// lock) under the busy pointer; its status.
template <typename Work>
Status WhileBusy(Dialogs& dialogs, Work work) {
  dialogs.SetBusy(true);
  Status s = work();
  dialogs.SetBusy(false);
  return s;
}

}  // namespace quillon

// Every message box, input box, beep, busy pointer, modal window and end of
// the program goes through Dialogs, so that a test can drive a real window
// headless and answer its questions (tests/support/ScriptedDialogs.h).
// Texts are the single-byte texts of the system.
#pragma once

#include <string>

class QDialog;

namespace quillon {

enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Icon { kNone, kCritical };
enum class Answer { kOk, kCancel, kYes, kNo };

// A message box title: the platform's default title, or a given text (the
// empty text included).
struct Title {
  bool is_default = true;
  std::string text;
  static Title Default() { return Title{}; }
  static Title Text(std::string t) { return Title{false, std::move(t)}; }
  bool operator==(const Title&) const = default;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a message box; the prompt may hold line breaks (CR, or CR LF).
  virtual Answer MessageBox(const std::string& prompt, Buttons buttons, Icon icon,
                            const Title& title) = 0;
  // The text entered, or the empty text when cancelled.
  virtual std::string InputBox(const std::string& prompt, const std::string& title,
                               const std::string& default_text) = 0;
  virtual void Beep() = 0;
  virtual void SetBusy(bool busy) = 0;
  // Shows `window` modally; returns when it has closed, with its result code.
  virtual int ShowModal(QDialog& window) = 0;
  // Ends the program at once; never returns.
  [[noreturn]] virtual void EndProgram() = 0;
};

}  // namespace quillon

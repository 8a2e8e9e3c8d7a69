// The controlling terminal (/dev/tty), where the administrator password is
// typed without echo, whatever standard input and output are.
#pragma once

#include "cli/AdminPassword.h"

namespace quillon::cli {

class ControllingTerminal : public PasswordTerminal {
 public:
  ControllingTerminal() = default;
  ~ControllingTerminal() override;
  ControllingTerminal(const ControllingTerminal&) = delete;
  ControllingTerminal& operator=(const ControllingTerminal&) = delete;

  // Opens /dev/tty on the first call.
  bool Available() override;
  // Turns echo off while the line is read, and back on after it, also when
  // the program is stopped by a signal meanwhile (Ctrl-C). A line is read up
  // to 1,024 bytes; the rest of a longer one is passed over.
  std::optional<std::string> Ask(const std::string& prompt) override;
  void Say(const std::string& line) override;

 private:
  void Write(const std::string& text);
  int fd_ = -1;
  bool tried_ = false;
};

}  // namespace quillon::cli

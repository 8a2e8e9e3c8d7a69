// The administrator password before a command reads students' data: asked
// when the program folder holds s3.dat, as the windows ask it at the start.
#pragma once

#include <optional>
#include <string>

#include "base/TextEncoding.h"
#include "platform/Folder.h"

namespace quillon::cli {

// A terminal to ask for the password on.
class PasswordTerminal {
 public:
  virtual ~PasswordTerminal() = default;
  // Whether there is one to ask on.
  virtual bool Available() = 0;
  // The line typed after `prompt` (the terminal's text), without its line
  // end, and not shown while it is typed; nullopt when the input ended.
  virtual std::optional<std::string> Ask(const std::string& prompt) = 0;
  // Shows `line` (the terminal's text) on it.
  virtual void Say(const std::string& line) = 0;
};

// Where the password comes from, the first one given: the first line of
// `file` (--password-file), `environment` (QUILLON_PASSWORD), then the
// terminal, three tries as the password window gives.
struct PasswordSources {
  std::optional<std::string> file;
  std::optional<std::string> environment;
  PasswordTerminal* terminal = nullptr;  // null: none
};

// Returns when the folder holds no s3.dat, when its first line is blank, or
// when the password given is the administrator's (typed text read through
// `encoding`). Otherwise throws Exit: status 3 when s3.dat cannot be read,
// 4 when the password is wrong, cannot be read or is not given. Reads
// nothing but s3.dat and the password's file, and writes nothing.
void PassPasswordGate(Folder& folder, const PasswordSources& sources, const TextEncoding& encoding);

}  // namespace quillon::cli

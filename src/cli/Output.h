// What quillon-cli writes: lines of file text shown in the terminal's
// encoding (or as stored, with --encoding latin1), on standard output, and
// notes on standard error. Every command writes through one Output.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "base/TextEncoding.h"

namespace quillon::cli {

class Output {
 public:
  Output(std::ostream& out, std::ostream& err, TextEncoding encoding)
      : out_(out), err_(err), encoding_(std::move(encoding)) {}

  const TextEncoding& encoding() const { return encoding_; }
  std::ostream& out() { return out_; }

  // The file text `stored` in the terminal's encoding, for a message.
  std::string Show(std::string_view stored) const { return encoding_.Show(stored); }
  // A line of file text on standard output, ended by a line feed.
  void Line(std::string_view stored) { out_ << encoding_.Show(stored) << '\n'; }
  // File text on standard output as it is given, line ends included.
  void Text(std::string_view stored) { out_ << encoding_.Show(stored); }
  // A line that is the terminal's text already (a path given on the command
  // line), written as it is.
  void TerminalLine(std::string_view text) { out_ << text << '\n'; }
  // A line of file text on standard error.
  void Note(std::string_view stored) { err_ << encoding_.Show(stored) << '\n'; }

 private:
  std::ostream& out_;
  std::ostream& err_;
  TextEncoding encoding_;
};

}  // namespace quillon::cli

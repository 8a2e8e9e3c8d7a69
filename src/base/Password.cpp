#include "base/Password.h"

#include "base/Text.h"

namespace quillon {
namespace {

std::string Shift(std::string_view text, int by) {
  std::string out = Trim(text);
  for (char& c : out) {
    c = static_cast<char>((static_cast<unsigned char>(c) + by + 256) % 256);
  }
  return out;
}

}  // namespace

std::string ScramblePassword(std::string_view text) { return Shift(text, 10); }

std::string UnscramblePassword(std::string_view text) { return Shift(text, -10); }

}  // namespace quillon

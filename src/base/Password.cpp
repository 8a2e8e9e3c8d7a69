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

bool AdminPasswordAccepts(std::string_view admin, std::string_view typed) {
  std::string lowered(typed);
  for (char& c : lowered) {
    const unsigned char b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
      c = static_cast<char>(b + 0x20);
    }
  }
  return Trim(lowered) == admin;
}

}  // namespace quillon

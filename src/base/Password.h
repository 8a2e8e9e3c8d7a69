// The reversible password scrambling of s3.dat and the roster's password
// field: every character code is shifted up by 10 (down by 10 to unscramble).
#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Trims blanks at both ends, then shifts each character code up by 10. A code
// that would pass 255 wraps round to the bottom of the byte range (250 -> 4),
// so every byte value scrambles and unscrambles back to itself.
std::string ScramblePassword(std::string_view text);

// Trims blanks at both ends, then shifts each code down by 10, wrapping below
// 0 to the top of the byte range: the exact inverse of ScramblePassword on
// any text without blanks at its ends.
std::string UnscramblePassword(std::string_view text);

}  // namespace quillon

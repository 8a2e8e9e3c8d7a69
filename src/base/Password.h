// The reversible password scrambling of s3.dat and the roster's password
// field: every character code is shifted up by 10 (down by 10 to unscramble);
// and the test of a typed administrator password.
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

// The administrator password file; without it no password is asked.
inline constexpr char kAdminPasswordFile[] = "s3.dat";

// Whether `typed` (file text) is the administrator password `admin` (as
// unscrambled from s3.dat), as the password window compares them: `typed`
// is put in lower case (A-Z and the Latin-1 capitals, the multiplication
// sign aside) and trimmed of blanks, then compared by character code. So a
// stored password with a capital letter is never matched.
bool AdminPasswordAccepts(std::string_view admin, std::string_view typed);

}  // namespace quillon

// s3.dat: the first line of any file, trimmed and unscrambled, never holds
// a line end; scrambling a trimmed text and back gives it again unless the
// shift turns an end character into a blank (unscrambling trims first).
#include <cstdint>

#include "base/Password.h"
#include "base/Text.h"
#include "data/TextFile.h"
#include "support/Check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::string_view contents(reinterpret_cast<const char*>(data), size);
  const std::string line = FirstLine(contents).value_or("");
  FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
  FUZZ_CHECK(line.size() <= size);
  const std::string password = UnscramblePassword(Trim(line));
  FUZZ_CHECK(password.size() <= line.size());
  const std::string text = Trim(contents.substr(0, std::min<std::size_t>(size, 16)));
  const std::string scrambled = ScramblePassword(text);
  if (!scrambled.empty() && scrambled.front() != ' ' && scrambled.back() != ' ') {
    FUZZ_CHECK(UnscramblePassword(scrambled) == text);
  }
  return 0;
}

#include "platform/Random.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

namespace quillon {

Status SystemRandom::Fill(unsigned char* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::getrandom(bytes + done, count - done, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::Error("the system's random source",
                           std::string("cannot be read: ") + std::strerror(errno));
    }
    done += static_cast<std::size_t>(n);
  }
  return Status::OK();
}

std::string RandomHexDigits(std::size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  std::random_device random;
  std::string out;
  unsigned bits = 0;
  for (std::size_t i = 0; i < count; ++i, bits >>= 4) {
    if (i % 8 == 0) bits = random();
    out += kDigits[bits & 15];
  }
  return out;
}

}  // namespace quillon

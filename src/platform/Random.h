// Random bytes for what must not be guessed (the passwords an import makes
// up): the operating system's random source, or in tests a fixed sequence.
#pragma once

#include <cstddef>
#include <string>

#include "base/Status.h"

namespace quillon {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Fills `bytes` with `count` random bytes; on failure says why.
  virtual Status Fill(unsigned char* bytes, std::size_t count) = 0;
};

// The kernel's random source (getrandom), which never gives predictable
// bytes: it waits until it is seeded.
class SystemRandom : public RandomSource {
 public:
  Status Fill(unsigned char* bytes, std::size_t count) override;
};

// `count` random hex digits (0-9, a-f), from std::random_device: for names
// and marks that keep programs apart (a lock's token, a removal's key, an
// entry's ID), not for secrets.
std::string RandomHexDigits(std::size_t count);

}  // namespace quillon

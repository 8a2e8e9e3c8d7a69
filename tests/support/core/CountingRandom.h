// A RandomSource for tests: the bytes 0, 1, 2, ... in turn (wrapping at
// 256), so that made-up passwords are known in advance: ABCDEF, GHJKLM,
// NPQRST, ... Bytes can be queued to come first, and a failure asked for.
#pragma once

#include <deque>
#include <string>

#include "platform/Random.h"

namespace quillon::testing {

class CountingRandom : public RandomSource {
 public:
  Status Fill(unsigned char* bytes, std::size_t count) override {
    if (fail) return Status::Error("the system's random source", "cannot be read: test");
    for (std::size_t i = 0; i < count; ++i) {
      if (!queued.empty()) {
        bytes[i] = queued.front();
        queued.pop_front();
      } else {
        bytes[i] = next++;
      }
    }
    return Status::OK();
  }
  unsigned char next = 0;
  std::deque<unsigned char> queued;
  bool fail = false;
};

}  // namespace quillon::testing

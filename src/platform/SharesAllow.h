// A shared folder's server refuses, for a moment, to remove or rename a file
// that was just closed or that another client is looking at (EBUSY).
#pragma once

#include <cerrno>
#include <chrono>
#include <thread>

namespace quillon {

// Calls `change` (an unlink or a rename, returning 0 or -1) until it
// succeeds or fails for good, trying again for up to two seconds while the
// server says it is busy. True when it succeeded; errno tells otherwise.
template <typename Change>
bool SharesAllow(Change change) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (change() == 0) return true;
    if (errno != EBUSY) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace quillon

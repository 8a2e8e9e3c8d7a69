// Sorting whole-number keys of few bits (ranks packed end to end) in a few
// linear passes: eleven bits a pass, from the lowest.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace quillon {

// Sorts `keys`, every one of which is below 2 to the power `bits`.
inline void RadixSort(std::vector<std::uint64_t>& keys, int bits) {
  constexpr int kDigit = 11;
  constexpr std::size_t kBuckets = std::size_t{1} << kDigit;
  if (keys.size() < 1024) {
    std::sort(keys.begin(), keys.end());
    return;
  }
  std::vector<std::uint64_t> other(keys.size());
  for (int shift = 0; shift < bits; shift += kDigit) {
    std::array<std::size_t, kBuckets> start{};
    for (const std::uint64_t k : keys) ++start[(k >> shift) & (kBuckets - 1)];
    std::size_t at = 0;
    for (std::size_t& s : start) at += std::exchange(s, at);
    for (const std::uint64_t k : keys) other[start[(k >> shift) & (kBuckets - 1)]++] = k;
    keys.swap(other);
  }
}

}  // namespace quillon

// Small whole-number ids for 64-bit keys, for the per-line lookups of the
// reports: a record's class and student bytes, its lesson fields. Millions
// of lines share a few hundred keys, so a lookup must cost a multiply and a
// compare, not an allocation: open addressing with linear probing, grown
// when half full.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {

class KeyIds {
 public:
  KeyIds() { Grow(64); }

  // The id of `key` (ids from 0, in the order keys are first seen), and
  // whether this is its first sight.
  std::pair<std::uint32_t, bool> Intern(std::uint64_t key) {
    for (std::size_t at = Slot(key);; at = (at + 1) & mask_) {
      Entry& e = slots_[at];
      if (e.id == kEmpty) {
        e = {key, count_++};
        const std::uint32_t id = e.id;
        if (count_ * 2 > slots_.size()) Grow(slots_.size() * 2);
        return {id, true};
      }
      if (e.key == key) return {e.id, false};
    }
  }
  std::size_t size() const { return count_; }

  // The `N` bytes of `bytes` from `at` as one key, N up to eight; requires
  // at + N <= bytes.size().
  template <std::size_t N>
  static std::uint64_t PackAt(std::string_view bytes, std::size_t at) {
    static_assert(N <= 8);
    // Byte by byte (the compiler joins the loads): a narrow copy into a
    // wider number would stall the load of the number.
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < N; ++i) {
      key |= std::uint64_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return key;
  }
  // Up to eight bytes of `bytes` as one key; bytes past the end read as 0.
  static std::uint64_t Pack(std::string_view bytes) {
    std::uint64_t key = 0;
    std::memcpy(&key, bytes.data(), bytes.size() < 8 ? bytes.size() : 8);
    return key;
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  std::size_t Slot(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask_;
  }
  void Grow(std::size_t slots) {
    std::vector<Entry> old = std::move(slots_);
    slots_.assign(slots, Entry{0, kEmpty});
    mask_ = slots - 1;
    for (const Entry& e : old) {
      if (e.id == kEmpty) continue;
      std::size_t at = Slot(e.key);
      while (slots_[at].id != kEmpty) at = (at + 1) & mask_;
      slots_[at] = e;
    }
  }
  // A key and its id side by side: one look at memory per probe.
  struct Entry {
    std::uint64_t key;
    std::uint32_t id;
  };
  std::vector<Entry> slots_;
  std::size_t mask_ = 0;
  std::uint32_t count_ = 0;
};

}  // namespace quillon

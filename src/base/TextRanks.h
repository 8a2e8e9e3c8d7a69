// Whole-number ranks of a few distinct texts, for keys packed into one
// number: ranks compare as the texts do.
#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace quillon {

// Ranks of `texts` by character code, equal texts one rank; `*distinct` the
// number of ranks. False when one text begins another: their ranks would
// not order keys that run on past them (texts of one width never do).
inline bool RankTexts(const std::vector<std::string>& texts, std::vector<std::uint32_t>* ranks,
                      std::uint32_t* distinct) {
  std::vector<std::uint32_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return texts[a] < texts[b]; });
  ranks->assign(texts.size(), 0);
  bool apart = true;
  std::uint32_t rank = 0;
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (k > 0) {
      const std::string &before = texts[order[k - 1]], &text = texts[order[k]];
      if (text != before) {
        apart = apart && text.compare(0, before.size(), before) != 0;
        ++rank;
      }
    }
    (*ranks)[order[k]] = rank;
  }
  *distinct = texts.empty() ? 0 : rank + 1;
  return apart;
}

// The bits that hold the numbers below `count`.
inline int BitsBelow(std::uint64_t count) {
  int bits = 0;
  while (bits < 64 && (std::uint64_t{1} << bits) < count) ++bits;
  return bits;
}

}  // namespace quillon

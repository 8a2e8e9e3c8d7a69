// The parallel-list sort gives exactly the result of the exchange sort as the
// system describes it, written out here as plainly as it stands.
#include <gtest/gtest.h>

#include <random>

#include "base/Text.h"

namespace quillon {
namespace {

struct Lists {
  std::vector<std::string> keys, values;
};

// For i from the first to the one before `count`, for j after i: exchange
// when keys(i) > keys(j) (direction 0) or keys(i) < keys(j) (direction 1).
void ExchangeSort(Lists& l, int direction, std::size_t count) {
  for (std::size_t i = 0; i + 1 < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      if ((direction == 0 && l.keys[i] > l.keys[j]) || (direction == 1 && l.keys[i] < l.keys[j])) {
        std::swap(l.keys[i], l.keys[j]);
        std::swap(l.values[i], l.values[j]);
      }
    }
  }
}

Lists RandomLists(std::mt19937& rng, int n, int key_range, bool tie_values_differ) {
  Lists l;
  for (int i = 0; i < n; ++i) {
    int k = static_cast<int>(rng() % static_cast<unsigned>(key_range));
    std::string key = "k" + std::to_string(k);
    l.keys.push_back(key);
    l.values.push_back(tie_values_differ ? "v" + std::to_string(i) : "v" + key);
  }
  return l;
}

TEST(SortEquivalenceTest, UniqueKeysAndTiesWithEqualValues) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    int n = 1 + static_cast<int>(rng() % 60);
    int range = round % 2 ? n * 50 : 1 + n / 4;  // mostly unique, or many ties
    Lists a = RandomLists(rng, n, range, /*tie_values_differ=*/false);
    for (int direction : {0, 1, 2}) {
      Lists fast = a, literal = a;
      std::size_t count = static_cast<std::size_t>(rng() % static_cast<unsigned>(n + 1));
      SortParallelLists(fast.keys, fast.values, direction, count);
      ExchangeSort(literal, direction, count);
      ASSERT_EQ(fast.keys, literal.keys);
      ASSERT_EQ(fast.values, literal.values);
    }
  }
}

TEST(SortEquivalenceTest, TiesWithDifferentValuesTakeTheLiteralPath) {
  std::mt19937 rng(11);
  for (int round = 0; round < 100; ++round) {
    Lists a = RandomLists(rng, 30, 5, /*tie_values_differ=*/true);
    for (int direction : {0, 1}) {
      Lists fast = a, literal = a;
      SortParallelLists(fast.keys, fast.values, direction, 30);
      ExchangeSort(literal, direction, 30);
      ASSERT_EQ(fast.values, literal.values);
    }
  }
  // The exchange sort is not stable, and the helper keeps its exact order:
  // keys b, b, a with values 1, 2, 3 end with the values 3, 2, 1 (a stable
  // sort would give 3, 1, 2).
  std::vector<std::string> keys = {"b", "b", "a"}, values = {"1", "2", "3"};
  SortParallelLists(keys, values, 0, 3);
  EXPECT_EQ(values, (std::vector<std::string>{"3", "2", "1"}));
}

}  // namespace
}  // namespace quillon

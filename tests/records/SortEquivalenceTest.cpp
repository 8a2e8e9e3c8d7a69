// The fast parallel-list sort gives exactly the literal exchange sort's result.
#include <gtest/gtest.h>

#include <random>

#include "shell/Text.h"

namespace quillon {
namespace {

struct Lists {
  std::vector<std::string> keys, values;
};

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
      SortParallelListsLiteral(literal.keys, literal.values, direction, count);
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
      SortParallelListsLiteral(literal.keys, literal.values, direction, 30);
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

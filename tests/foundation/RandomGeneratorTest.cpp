#include "foundation/values/RandomGenerator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <vector>

namespace quendrel {
namespace {

std::vector<std::int32_t> Draws(RandomGenerator& generator, int count) {
  std::vector<std::int32_t> draws;
  for (int i = 0; i < count; ++i) draws.push_back(generator.Between(-21, 20));
  return draws;
}

TEST(RandomGeneratorTest, SameSeedReplaysTheSameDraws) {
  RandomGenerator first(1234);
  RandomGenerator second(99);
  second.Seed(1234);
  EXPECT_EQ(Draws(first, 50), Draws(second, 50));
  RandomGenerator other(1235);
  EXPECT_NE(Draws(second, 50), Draws(other, 50));
}

TEST(RandomGeneratorTest, NextStaysBelowOne) {
  RandomGenerator generator(7);
  for (int i = 0; i < 10000; ++i) {
    const double x = generator.Next();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
  }
}

struct Range {
  std::int32_t low;
  std::int32_t high;
};

TEST(RandomGeneratorTest, BetweenHitsEveryValueOfTheRangeAndNothingElse) {
  const Range ranges[] = {{-21, 20}, {0, 1}, {5, 5}};
  RandomGenerator generator(42);
  for (const auto& range : ranges) {
    std::set<std::int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
      const std::int32_t x = generator.Between(range.low, range.high);
      ASSERT_GE(x, range.low);
      ASSERT_LE(x, range.high);
      seen.insert(x);
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(range.high - range.low + 1))
        << range.low << ".." << range.high;
  }
}

TEST(RandomGeneratorTest, BetweenCopesWithExtremeAndReversedRanges) {
  RandomGenerator generator(3);
  EXPECT_EQ(generator.Between(10, 2), 10);
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  bool sawNegative = false;
  bool sawPositive = false;
  for (int i = 0; i < 100; ++i) {
    const std::int32_t x = generator.Between(kMin, kMax);
    sawNegative = sawNegative || x < 0;
    sawPositive = sawPositive || x > 0;
  }
  EXPECT_TRUE(sawNegative);
  EXPECT_TRUE(sawPositive);
}

TEST(RandomGeneratorTest, GlobalGeneratorIsSeedable) {
  Random().Seed(2024);
  const auto first = Draws(Random(), 20);
  RandomGenerator local(2024);
  EXPECT_EQ(Draws(local, 20), first);
}

}  // namespace
}  // namespace quendrel

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/values/RoundToLong.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {
namespace {

TEST(RoundToLongTest, RoundsEveryFractionUp) {
  const std::pair<float, std::int32_t> cases[] = {
      {3.0f, 3},   {2.1f, 3},        {2.9f, 3},         {0.0f, 0},           {-0.0f, 0},
      {0.0001f, 1}, {-2.5f, -2},     {-2.0f, -2},       {0.99999994f, 1},    {7.0f / 3.0f, 3},
      {2147483520.0f, 2147483520},   {-2147483648.0f, -2147483647 - 1},
  };
  for (const auto& [x, rounded] : cases) EXPECT_EQ(RoundToLong(x), rounded) << x;
}

TEST(RoundToLongTest, RaisesOverflowOutsideThirtyTwoBits) {
  for (const float x : {2147483648.0f, -2147483904.0f, 1e20f, std::numeric_limits<float>::infinity(), std::nanf("")}) {
    try {
      RoundToLong(x);
      ADD_FAILURE() << x << " did not raise";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), 6) << x;
      EXPECT_EQ(error.Description(), "Overflow") << x;
    }
  }
}

}  // namespace
}  // namespace quendrel

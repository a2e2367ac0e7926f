#include <gtest/gtest.h>

#include <string>

#include "foundation/text/FixedPoint.h"

namespace quendrel {
namespace {

TEST(FixedPointTest, DecimalPlacesComeFromTheTwoLowestPadBits) {
  const std::pair<const char*, int> cases[] = {
      {"0000000000000000", 0}, {"0000000000000001", 1}, {"0000000000000010", 2}, {"0000000000000011", 3},
      {"1111111111111100", 0}, {"1000001000011011", 3}, {"1", 1},                {"10", 2},
      {"", 0},                 {"x1", 1},               {"01x", 2},
  };
  for (const auto& [pad, places] : cases) EXPECT_EQ(DecimalPlacesFromFlags(pad), places) << pad;
}

struct TextCase {
  const char* text;
  const char* pad;
  const char* result;
};

TEST(FixedPointTest, ValueTextsShowTheirDecimalPlaces) {
  const TextCase cases[] = {
      {"12.5", "0000000000000010", "12.50"},
      {"12.6", "0000000000000000", "13"},
      {"-0.05", "0000000000000001", "-0.1"},
      {"7", "0000000000000011", "7.000"},
      {" 3.14159 ", "0000000000000011", "3.142"},
      {"&H10", "0000000000000001", "16.0"},
      {"", "0000000000000010", ""},
      {"n/a", "0000000000000010", "n/a"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixedPointText(c.text, c.pad), c.result) << c.text;
  EXPECT_EQ(FormatFixedPointText(2.5 * 1.5, "0000000000000001"), "3.8");
}

TEST(FixedPointTest, RawIntegersAreScaledDownByTheirDecimalPlaces) {
  const TextCase cases[] = {
      {"1234", "0000000000000010", "12.34"},
      {"1234", "0000000000000000", "1234"},
      {"-5", "0000000000000001", "-0.5"},
      {"5", "0000000000000011", "0.005"},
      {"32767", "0000000000000001", "3276.7"},
      {"-32768", "0000000000000011", "-32.768"},
      {"", "0000000000000001", ""},
      {"abc", "0000000000000001", "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(ScaleFixedPointValue(c.text, c.pad), c.result) << c.text;
}

}  // namespace
}  // namespace quendrel

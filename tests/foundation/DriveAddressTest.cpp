// Typed drive addresses: rounding, wrap to a byte, and the texts that address no drive.
#include "foundation/text/DriveAddress.h"

#include <gtest/gtest.h>

namespace quendrel {
namespace {

TEST(DriveAddressTest, LeadingNumberRoundedHalfToEvenInItsLowByte) {
  const struct {
    const char* Text;
    int Address;
  } cases[] = {
      {"1", 1},      {" 247 ", 247}, {"12 drive", 12},  {"2.5", 2},    {"3.5", 4},    {"-1", 255},
      {"256", 0},    {"257", 1},     {"&H1FF", 255},    {"", 0},       {"abc", 0},    {"-", 0},
      {"1E10", 0},   {"-3E9", 0},    {"1E400", 0},      {"2147483647", 255},           {"-2147483648", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(DriveAddressFromText(c.Text), c.Address) << '"' << c.Text << '"';
}

}  // namespace
}  // namespace quendrel

// The keypad preview's formatting and movement, without a wizard around them.
#include <gtest/gtest.h>

#include <set>

#include "editors/QuickSetupKeypad.h"

namespace quendrel {
namespace {

TEST(QuickSetupKeypadTest, NumbersTakeTheKeypadLayout) {
  const struct {
    const char* Value;
    const char* Shown;
  } cases[] = {
      {"12.5", "0012.5"},  {"37", "00037 "},   {"1.25", "001.25"}, {"2.105", "02.105"}, {"0.1234", "0.1234"},
      {"1234567", "34567 "}, {"-12.5", "0012.5"}, {"1.23456", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(KeypadNumber(c.Value), c.Shown) << c.Value;
}

TEST(QuickSetupKeypadTest, DisplayTextFollowsTheKeypadCharacterSet) {
  const struct {
    std::string Line;
    std::string Shown;
  } cases[] = {
      {"Speed", "Speed           "},
      {"A\\B", std::string("A") + kKeypadYen + "B             "},
      {"Top{Speed", "Top"},  // '{' is 123
      {"Tab\there", "Tab"},
      {"Seventeen letters", "Seventeen letter"},
  };
  for (const auto& c : cases) EXPECT_EQ(KeypadDisplayText(c.Line), c.Shown) << c.Line;
}

TEST(QuickSetupKeypadTest, SecondLineShowsSlotAndValue) {
  EXPECT_EQ(KeypadNumberLine(3, "12.5"), "M00P03    0012.5");
  EXPECT_EQ(KeypadValueNameLine(5, "Terminal"), "M00P05  Terminal");
  EXPECT_EQ(KeypadIdLine(7), "M00P07");
}

TEST(QuickSetupKeypadTest, MovingSkipsUnsetSlotsAndStopsAtTheHeader) {
  const std::set<int> setPositions = {1, 3};
  const auto isSet = [&](int position) { return setPositions.contains(position); };
  EXPECT_EQ(MovePreviewPosition(1, true, 3, isSet), 3);
  EXPECT_EQ(MovePreviewPosition(3, true, 3, isSet), 0);
  EXPECT_EQ(MovePreviewPosition(0, false, 3, isSet), 3);
  EXPECT_EQ(MovePreviewPosition(3, false, 3, isSet), 1);
  EXPECT_EQ(MovePreviewPosition(0, true, 0, isSet), 0);
  // Nothing set: every move lands on the header.
  EXPECT_EQ(MovePreviewPosition(0, true, 4, [](int) { return false; }), 0);
}

}  // namespace
}  // namespace quendrel

// A pixel column's bounds must hold exactly the coordinates the canvas rounds into it, halves
// going to the even column, or the line graph would merge points of two columns.
#include "graph/pane/ColumnBounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Canvas.h"

namespace quendrel {
namespace {

TEST(ColumnBoundsTest, HoldExactlyWhatRoundsIntoTheColumn) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  for (const int column : {-666666, -3, -2, -1, 0, 1, 2, 3, 67, 68, 999, 1000, 65535, 666666}) {
    const ColumnBounds bounds = ColumnBounds::Of(column);
    EXPECT_EQ(Canvas::ToPixel(bounds.Low), column) << column;
    EXPECT_EQ(Canvas::ToPixel(bounds.High), column) << column;
    EXPECT_LT(Canvas::ToPixel(std::nextafter(bounds.Low, -kInf)), column) << column;
    EXPECT_GT(Canvas::ToPixel(std::nextafter(bounds.High, kInf)), column) << column;
    EXPECT_TRUE(bounds.Holds(static_cast<float>(column) * 15.0f)) << column;
  }
  // A half goes to the even side: 7.5 twips is pixel 0, 22.5 pixel 2.
  EXPECT_TRUE(ColumnBounds::Of(0).Holds(7.5f));
  EXPECT_TRUE(ColumnBounds::Of(2).Holds(22.5f));
  EXPECT_FALSE(ColumnBounds::Of(1).Holds(22.5f));
  EXPECT_FALSE(ColumnBounds{}.Holds(0.0f));
}

}  // namespace
}  // namespace quendrel

// The pixel rules every canvas shares: lines leave out their last pixel, boxes include both
// corners, circles are symmetric discs, the focus rectangle is a dotted border.
#include "platform/PixelRules.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace quendrel {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet ToSet(const std::vector<PixelSpan>& spans) {
  PixelSet pixels;
  for (const PixelSpan& span : spans) {
    for (int x = span.X0; x <= span.X1; ++x) {
      EXPECT_TRUE(pixels.insert({x, span.Y}).second) << "pixel " << x << "," << span.Y << " twice";
    }
  }
  return pixels;
}

PixelSet Line(int x1, int y1, int x2, int y2) {
  std::vector<PixelSpan> spans;
  AppendLinePixels(x1, y1, x2, y2, spans);
  return ToSet(spans);
}

struct LineCase {
  const char* name;
  int x1, y1, x2, y2;
  PixelSet expected;
};

class LinePixels : public ::testing::TestWithParam<LineCase> {};

TEST_P(LinePixels, CoverTheFirstPixelButNotTheLast) {
  const LineCase& c = GetParam();
  EXPECT_EQ(Line(c.x1, c.y1, c.x2, c.y2), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, LinePixels,
    ::testing::Values(
        LineCase{"ZeroLength", 3, 3, 3, 3, {}},
        LineCase{"OnePixel", 3, 3, 4, 3, {{3, 3}}},
        LineCase{"Horizontal", 1, 2, 5, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
        LineCase{"HorizontalBackwards", 5, 2, 1, 2, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
        LineCase{"Vertical", 0, 0, 0, 3, {{0, 0}, {0, 1}, {0, 2}}},
        LineCase{"VerticalUp", 0, 3, 0, 0, {{0, 3}, {0, 2}, {0, 1}}},
        LineCase{"Diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        LineCase{"AntiDiagonal", 3, 0, 0, 3, {{3, 0}, {2, 1}, {1, 2}}},
        LineCase{"Shallow", 0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        LineCase{"Steep", 0, 0, 1, 4, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinePixels, StraightLineIsOneRun) {
  std::vector<PixelSpan> spans;
  AppendLinePixels(10, 7, 100, 7, spans);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_EQ(spans[0], (PixelSpan{7, 10, 99}));
}

TEST(LinePixels, UprightLineAsOneSpanCoversWhatTheLineCovers) {
  for (const auto& [y1, y2] : {std::pair{2, 9}, {9, 2}, {4, 4}, {4, 5}, {5, 4}, {-3, 1}}) {
    const PixelColumnSpan span = UprightLinePixels(6, y1, y2);
    PixelSet pixels;
    for (int y = span.Y0; y <= span.Y1; ++y) pixels.insert({span.X, y});
    EXPECT_EQ(pixels, Line(6, y1, 6, y2)) << y1 << " to " << y2;
  }
}

TEST(LinePixels, ConnectedLinesShareNoPixelAndLeaveOutTheLastPoint) {
  const std::vector<std::pair<int, int>> points = {{0, 0}, {7, 3}, {2, 9}, {2, 9}, {-4, 1}};
  std::vector<PixelSpan> spans;
  for (std::size_t i = 1; i < points.size(); ++i) {
    AppendLinePixels(points[i - 1].first, points[i - 1].second, points[i].first,
                     points[i].second, spans);
  }
  const PixelSet pixels = ToSet(spans);  // fails on any pixel drawn twice
  EXPECT_EQ(pixels.count({-4, 1}), 0u);
  EXPECT_EQ(pixels.count({7, 3}), 1u);
}

TEST(BoxPixels, OutlineAndInsideMakeTheWholeRectangle) {
  std::vector<PixelSpan> outline;
  std::vector<PixelSpan> inside;
  AppendBoxOutlinePixels(6, 5, 2, 1, outline);
  AppendBoxInsidePixels(2, 5, 6, 1, inside);
  PixelSet all = ToSet(outline);
  for (const auto& pixel : ToSet(inside)) {
    EXPECT_TRUE(all.insert(pixel).second) << "inside overlaps the outline";
  }
  PixelSet rectangle;
  for (int y = 1; y <= 5; ++y) {
    for (int x = 2; x <= 6; ++x) rectangle.insert({x, y});
  }
  EXPECT_EQ(all, rectangle);
  EXPECT_EQ(ToSet(outline).size(), 16u);
}

TEST(BoxPixels, DegenerateBoxesAreALineOrAPixel) {
  std::vector<PixelSpan> spans;
  AppendBoxOutlinePixels(3, 3, 3, 3, spans);
  EXPECT_EQ(ToSet(spans), (PixelSet{{3, 3}}));
  spans.clear();
  AppendBoxOutlinePixels(3, 1, 3, 3, spans);
  EXPECT_EQ(ToSet(spans), (PixelSet{{3, 1}, {3, 2}, {3, 3}}));
  spans.clear();
  AppendBoxInsidePixels(3, 1, 4, 3, spans);
  EXPECT_TRUE(spans.empty());
}

TEST(CirclePixels, RadiusZeroIsOnePixel) {
  std::vector<PixelSpan> outline;
  std::vector<PixelSpan> inside;
  AppendCircleOutlinePixels(4, 4, 0, outline);
  AppendCircleInsidePixels(4, 4, 0, inside);
  EXPECT_EQ(ToSet(outline), (PixelSet{{4, 4}}));
  EXPECT_TRUE(inside.empty());
}

TEST(CirclePixels, RadiusTwoIsTheGraphDot) {
  std::vector<PixelSpan> spans;
  AppendCircleOutlinePixels(0, 0, 2, spans);
  AppendCircleInsidePixels(0, 0, 2, spans);
  const PixelSet disc = ToSet(spans);
  // Rows -2..2 of half widths 1, 2, 2, 2, 1: a rounded 5 x 5 dot.
  EXPECT_EQ(disc.size(), 3u + 5u + 5u + 5u + 3u);
  EXPECT_EQ(disc.count({2, 0}), 1u);
  EXPECT_EQ(disc.count({2, 2}), 0u);
}

TEST(CirclePixels, OutlineIsSymmetricAndHasNoHoles) {
  for (int radius = 1; radius <= 20; ++radius) {
    std::vector<PixelSpan> outline;
    std::vector<PixelSpan> inside;
    AppendCircleOutlinePixels(0, 0, radius, outline);
    AppendCircleInsidePixels(0, 0, radius, inside);
    const PixelSet ring = ToSet(outline);
    const PixelSet core = ToSet(inside);
    for (const auto& [x, y] : ring) {
      ASSERT_EQ(ring.count({-x, y}), 1u) << "radius " << radius;
      ASSERT_EQ(ring.count({y, x}), 1u) << "radius " << radius;
      ASSERT_EQ(core.count({x, y}), 0u) << "radius " << radius;
    }
    EXPECT_EQ(ring.count({radius, 0}), 1u);
    EXPECT_EQ(ring.count({radius + 1, 0}), 0u);
    // Every pixel of the inside has all four neighbours in the disc.
    for (const auto& [x, y] : core) {
      for (const auto& [nx, ny] : {std::pair{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}}) {
        ASSERT_TRUE(core.count({nx, ny}) + ring.count({nx, ny}) == 1) << "radius " << radius;
      }
    }
  }
}

TEST(FocusRectPixels, DottedBorderOnEvenPixels) {
  const std::vector<PixelPoint> points = FocusRectPixels(0, 0, 4, 3);
  PixelSet pixels;
  for (const PixelPoint& point : points) {
    EXPECT_TRUE(pixels.insert({point.X, point.Y}).second);
    EXPECT_EQ((point.X + point.Y) % 2, 0);
  }
  // The border of 4 x 3 pixels has ten pixels; half of them are drawn.
  EXPECT_EQ(pixels, (PixelSet{{0, 0}, {2, 0}, {3, 1}, {0, 2}, {2, 2}}));
}

TEST(FocusRectPixels, EmptyRectangleDrawsNothing) {
  EXPECT_TRUE(FocusRectPixels(5, 5, 5, 9).empty());
  EXPECT_TRUE(FocusRectPixels(5, 5, 9, 4).empty());
}

}  // namespace
}  // namespace quendrel

// The line graph's band rules, marks and labels, and its survival of numbers the canvas cannot take.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "graph/support/GraphPaneRig.h"

namespace quendrel {
namespace {

using testing::GraphPaneRig;
using testing::Has;
using testing::Printed;

constexpr Color kRed = 0x0000FF;

std::string LineText(double x1, double y1, double x2, double y2, Color color = kRed) {
  return "Line (" + CanvasNumberText(static_cast<float>(x1)) + "," + CanvasNumberText(static_cast<float>(y1)) +
         ")-(" + CanvasNumberText(static_cast<float>(x2)) + "," + CanvasNumberText(static_cast<float>(y2)) +
         ") " + CanvasColorText(color);
}

long CountOf(const std::vector<std::string>& log, const std::string& prefix) {
  return std::count_if(log.begin(), log.end(), [&](const std::string& e) {
    return e.rfind(prefix, 0) == 0 && e.find(CanvasColorText(kRed)) != std::string::npos;
  });
}

struct LineGraphTest : ::testing::Test {
  // Points one second apart; the range is set by the values as added, then some are moved.
  gdSeries& Series(const std::vector<double>& values, const std::vector<double>& moved) {
    gdSeries& series = rig.AddSeries("A", values, kRed);
    for (std::size_t i = 0; i < moved.size(); ++i) {
      if (!std::isnan(moved[i])) series.PointAt(i).SetValue(moved[i]);
    }
    ctx = rig.Frame();
    return series;
  }
  double X(std::size_t i) {
    const double t = rig.data.Series("A")->PointAt(i).Timestamp();
    const double width = ctx.Virtual.Right - ctx.Virtual.Left;
    return ctx.Virtual.Left + width * (t - ctx.firstTime) / (ctx.lastTime - ctx.firstTime);
  }
  double Y(double v) const { return ctx.xAxisH - v * ctx.yFactor; }

  GraphPaneRig rig;
  GraphContext ctx;
};

constexpr double kKeep = NAN;

TEST_F(LineGraphTest, SegmentsLeavingTheBandEndAtItsEdge) {
  std::vector<double> values(300, 0.5);
  values[298] = 1.0;
  std::vector<double> moved(299, kKeep);
  moved[298] = 5.0;
  Series(values, moved);
  const std::vector<std::string> log = rig.Log();
  // The older point lies above: the line from the newer dot ends straight below it, on top.
  EXPECT_TRUE(Has(log, LineText(X(299), Y(0.5), X(298), ctx.Virtual.top)));
  // And from that point on to the next older one, the line starts where the segment crosses top.
  const double crossX = X(298) + (X(297) - X(298)) * (ctx.Virtual.top - Y(5.0)) / (Y(0.5) - Y(5.0));
  EXPECT_TRUE(Has(log, LineText(crossX, ctx.Virtual.top, X(297), Y(0.5))));
  EXPECT_EQ(CountOf(log, "Circle"), 299);
}

TEST_F(LineGraphTest, NoLineBetweenTwoPointsOutsideTheBand) {
  Series({1.0, 1.0, 1.0}, {kKeep, 5.0, -5.0});
  const std::vector<std::string> log = rig.Log();
  EXPECT_EQ(CountOf(log, "Circle"), 1);
  // The newest two cross the whole plot yet stay apart; only the oldest is reached, from top.
  EXPECT_EQ(CountOf(log, "Line"), 1);
}

TEST_F(LineGraphTest, APointOnABandBoundGetsNeitherDotNorLine) {
  Series({0.5, 0.5, 0.5}, {});
  // A value whose Y lands exactly on the lower bound.
  double v = -ctx.yPixel / ctx.yFactor;
  while (Y(v) < ctx.Virtual.Bottom + ctx.yPixel) v = std::nextafter(v, -1.0);
  while (Y(v) > ctx.Virtual.Bottom + ctx.yPixel) v = std::nextafter(v, 1.0);
  ASSERT_EQ(Y(v), ctx.Virtual.Bottom + ctx.yPixel);
  rig.data.Series("A")->PointAt(1).SetValue(v);
  const std::vector<std::string> log = rig.Log();
  EXPECT_EQ(CountOf(log, "Circle"), 2);
  EXPECT_EQ(CountOf(log, "Line"), 0);
}

TEST_F(LineGraphTest, AverageAndGainInTheLabels) {
  Series({1.0, 2.0, 6.0}, {});
  rig.pane.SetShowAverage(true);
  EXPECT_TRUE(Has(Printed(rig.Log()), "3.0"));
  rig.data.Series("A")->SetGain(2.0);
  EXPECT_TRUE(Has(Printed(rig.Log()), "6.0"));
  rig.pane.SetIncludeGain(false);
  EXPECT_TRUE(Has(Printed(rig.Log()), "3.0"));
  rig.pane.SetShowCurrent(true);
  EXPECT_TRUE(Has(Printed(rig.Log()), "6.0"));
}

TEST_F(LineGraphTest, MarksAboveAndBelowThePlot) {
  rig.pane.SetShowAverage(true);
  Series({1.0, -1.0}, {5.0, 5.0});
  const double r = ctx.Virtual.Right;
  const double t = ctx.Virtual.top;
  std::vector<std::string> log = rig.Log();
  // The open triangle's closing segment is six pixels long.
  EXPECT_TRUE(Has(log, LineText(r + 75, t - 150, r - 15, t - 150)));
  EXPECT_TRUE(Has(log, "Print (" + CanvasNumberText(static_cast<float>(r + 105)) + "," +
                           CanvasNumberText(static_cast<float>(t - 1.5 * 165)) + ") 0x0000FF \"5.0\""));
  rig.pane.SetShowCurrent(true);
  rig.data.Series("A")->PointAt(1).SetValue(-5.0);
  log = rig.Log();
  const double b = ctx.Virtual.Bottom;
  EXPECT_TRUE(Has(log, LineText(r + 37.5, b + 225, r + 7.5, b + 150)));
  EXPECT_TRUE(Has(Printed(log), "-5.0"));
}

TEST_F(LineGraphTest, PaintLockLeavesThePictureAlone) {
  Series({1.0}, {});
  rig.pane.SetPaintLock(true);
  EXPECT_TRUE(rig.Log().empty());
}

long CountOf(const std::vector<std::string>& log, const std::string& prefix, Color color) {
  return std::count_if(log.begin(), log.end(), [&](const std::string& e) {
    return e.rfind(prefix, 0) == 0 && e.find(CanvasColorText(color)) != std::string::npos;
  });
}

// The series whose values leave the doubles stays out of the range, so the others keep every dot;
// it shows its zeros, reached straight from the top edge.
TEST_F(LineGraphTest, ASeriesBeyondTheDoublesLeavesTheOthersDrawn) {
  testing::AddScanListSeries(rig, testing::kOverflowingScanList, {0.0, 300.0, 0.0, 1200.0, 800.0});
  ctx = rig.Frame();
  EXPECT_EQ(std::pair(ctx.minVal, ctx.maxVal), std::pair(-2400.0, 1200.0));
  const std::vector<std::string> log = rig.Log();
  EXPECT_TRUE(Has(Printed(log), "1200."));
  EXPECT_TRUE(Has(Printed(log), "-2400"));
  EXPECT_EQ(CountOf(log, "Circle", testing::kListRed), 5);
  EXPECT_EQ(CountOf(log, "Circle", testing::kListBlue), 5);
  EXPECT_EQ(CountOf(log, "Circle", testing::kListGreen), 2);
  gdSeries& green = *rig.data.Series("M01P02");
  for (const std::size_t zero : {0u, 2u}) {
    const double t = green.PointAt(zero).Timestamp();
    const double x = ctx.Virtual.Left + (ctx.Virtual.Right - ctx.Virtual.Left) * (t - ctx.firstTime) /
                                            (ctx.lastTime - ctx.firstTime);
    EXPECT_TRUE(Has(log, LineText(x, ctx.Virtual.top, x, ctx.xAxisH, testing::kListGreen))) << zero;
  }
  for (const std::string& entry : log) EXPECT_EQ(entry.find("nan"), std::string::npos) << entry;
}

struct HostileCase {
  const char* name;
  int width;
  int height;
  double gain;
  double value;
};

class HostileNumbersTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileNumbersTest, DrawsWhatItCan) {
  const HostileCase& c = GetParam();
  GraphPaneRig rig(c.width, c.height);
  rig.AddSeries("A", {c.value, -c.value, c.value}).SetGain(c.gain);
  rig.pane.SetLegend(gpLegendRight);
  rig.pane.SetShowAverage(true);
  rig.pane.SetXRules(true);
  const std::vector<std::string> log = rig.Log();
  ASSERT_FALSE(log.empty());
  for (const std::string& entry : log) {
    EXPECT_EQ(entry.find("nan"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("inf"), std::string::npos) << entry;
  }
}

INSTANTIATE_TEST_SUITE_P(Panes, HostileNumbersTest,
                         ::testing::Values(HostileCase{"HugeGain", 400, 300, 1e300, 1e10},
                                           HostileCase{"HugeValue", 400, 300, 1.0, 1e308},
                                           HostileCase{"SmallerThanItsMargins", 4, 3, 1.0, 1.0},
                                           HostileCase{"NoPixels", 0, 0, -3.0, 7.0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quendrel

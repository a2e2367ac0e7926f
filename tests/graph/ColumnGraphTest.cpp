// The hi/lo and bar graphs: slots, bars and their clipping, current-value markers, the value marks
// beside the bars, and the series that have nothing to show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "graph/pane/ColumnGraph.h"
#include "graph/support/GraphPaneRig.h"

namespace quendrel {
namespace {

using testing::GraphPaneRig;
using testing::Has;
using testing::kNow;
using testing::Printed;

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0xFF0000;
constexpr Color kLine = 0x80000008;

std::string At(double x, double y) {
  return "(" + CanvasNumberText(static_cast<float>(x)) + "," + CanvasNumberText(static_cast<float>(y)) + ")";
}
std::string LineText(double x1, double y1, double x2, double y2, Color color) {
  return "Line " + At(x1, y1) + "-" + At(x2, y2) + " " + CanvasColorText(color);
}
std::string FilledBoxText(double x1, double y1, double x2, double y2, Color color) {
  return "FilledBox " + At(x1, y1) + "-" + At(x2, y2) + " " + CanvasColorText(color);
}
std::string PrintText(double x, double y, Color color, const std::string& text) {
  return "Print " + At(x, y) + " " + CanvasColorText(color) + " \"" + text + "\"";
}
// Entries of one kind ("FilledBox ", "Circle ", ...) that mention the colour.
long CountOf(const std::vector<std::string>& log, const std::string& kind, Color color) {
  return std::count_if(log.begin(), log.end(), [&](const std::string& e) {
    return e.rfind(kind, 0) == 0 && e.find(CanvasColorText(color)) != std::string::npos;
  });
}

std::string TypeName(const ::testing::TestParamInfo<gpGraphType>& info) {
  return info.param == gpHiLo ? "HiLo" : "Bar";
}

// A rig whose graph font makes every character 100 twips wide and every line 200 high; with
// values from 0 to 10 the plot runs from 592 to 3592, 3000 twips.
struct ColumnGraph : ::testing::TestWithParam<gpGraphType> {
  explicit ColumnGraph(int pixelWidth = 248) : rig(pixelWidth, 300) {
    CanvasFont font;
    font.Size = 10.0f;
    rig.pane.SetGraphFont(font);
    rig.pane.SetGraphType(GetParam());
  }
  std::vector<std::string> Draw() {
    const std::vector<std::string> log = rig.Log();
    ctx = rig.Frame();
    return log;
  }
  double Left() const { return ctx.Virtual.Left; }
  double Top() const { return ctx.Virtual.top; }
  double Bottom() const { return ctx.Virtual.Bottom; }
  double Y(double v) const { return ctx.xAxisH - v * ctx.yFactor; }
  // The value whose Y lands exactly on the given Y.
  double ValueAt(double y) const {
    double v = (ctx.xAxisH - y) / ctx.yFactor;
    while (Y(v) < y) v = std::nextafter(v, -1e300);
    while (Y(v) > y) v = std::nextafter(v, 1e300);
    return v;
  }
  bool IsHiLo() const { return GetParam() == gpHiLo; }

  GraphPaneRig rig;
  GraphContext ctx;
};

using ColumnGraphTest = ColumnGraph;

TEST_P(ColumnGraphTest, ThreeSeriesTileThePlot) {
  rig.AddSeries("A", {2.0, 8.0, 5.0}, kRed);
  rig.AddSeries("B", {1.0, 10.0, 3.0}, kGreen);
  rig.AddSeries("C", {4.0, 6.0, 7.0}, kBlue);
  rig.AddSeries("Hidden", {9.0}, kRed).SetVisible(false);
  rig.pane.SetXAxisLabels(1);
  const std::vector<std::string> log = Draw();
  ASSERT_EQ(ctx.Virtual.Right - ctx.Virtual.Left, 3000);
  const Color colors[] = {kRed, kGreen, kBlue};
  const double highs[] = {8.0, 10.0, 7.0};
  const double lows[] = {2.0, 1.0, 4.0};
  const double newest[] = {5.0, 3.0, 7.0};
  const char* names[] = {"A long", "B long", "C long"};
  for (int k = 0; k < 3; ++k) {
    const double slot = Left() + 1000.0 * k;
    if (IsHiLo()) {
      EXPECT_TRUE(Has(log, FilledBoxText(slot + 100, Y(highs[k]), slot + 900, Y(lows[k]), colors[k])));
      EXPECT_TRUE(Has(log, "Circle " + At(slot + 500, Y(newest[k])) + " r30 0x80000008 fill 0x80000008"));
    } else {
      EXPECT_TRUE(Has(log, FilledBoxText(slot + 100, ctx.xAxisH, slot + 900, Y(newest[k]), colors[k])));
      EXPECT_TRUE(Has(log, LineText(slot + 100, Y(newest[k]), slot + 900, Y(newest[k]), kLine)));
    }
    EXPECT_TRUE(Has(log, LineText(slot + 1000, ctx.xAxisH - 32, slot + 1000, ctx.xAxisH + 32, kLine)));
    EXPECT_TRUE(Has(log, PrintText(slot + 500 - 300, ctx.xAxisH + 64, kLine, names[k])));
  }
  EXPECT_EQ(CountOf(log, "FilledBox ", kRed), 1);
  // Rules only when asked for, at the same slot edges.
  EXPECT_FALSE(Has(log, LineText(Left() + 2000, Top(), Left() + 2000, Bottom(), 0x8000000B)));
  rig.pane.SetXRules(true);
  EXPECT_TRUE(Has(Draw(), LineText(Left() + 2000, Top(), Left() + 2000, Bottom(), 0x8000000B)));
}

TEST_P(ColumnGraphTest, BarsRunningOffThePlotAreClippedAndLeftOpen) {
  gdSeries& a = rig.AddSeries("A", {1.0, 5.0, 9.0, 10.0}, kRed);
  a.PointAt(1).SetValue(-50.0);
  a.PointAt(3).SetValue(50.0);
  std::vector<std::string> log = Draw();
  const double left = Left() + 300;
  const double right = Left() + 2700;
  if (IsHiLo()) {
    EXPECT_TRUE(Has(log, FilledBoxText(left, Top(), right, Bottom(), kRed)));
    EXPECT_TRUE(Has(log, LineText(left + 15, Top(), right, Top(), kRed)));
    EXPECT_TRUE(Has(log, LineText(left + 15, Bottom(), right, Bottom(), kRed)));
    EXPECT_EQ(CountOf(log, "Circle ", kLine), 0);  // the newest value lies above the plot
  } else {
    EXPECT_TRUE(Has(log, FilledBoxText(left, ctx.xAxisH, right, Top(), kRed)));
    EXPECT_TRUE(Has(log, LineText(left + 15, Top(), right, Top(), kRed)));
    a.PointAt(3).SetValue(-50.0);
    log = Draw();
    EXPECT_TRUE(Has(log, FilledBoxText(left, ctx.xAxisH, right, Bottom(), kRed)));
    EXPECT_TRUE(Has(log, LineText(left + 15, Bottom(), right, Bottom(), kRed)));
  }
  EXPECT_FALSE(Has(log, LineText(left, Top(), right, Top(), kLine)));
}

// A series whose values all lie above the plot, then all below it, with its average marked.
TEST_P(ColumnGraphTest, MarksBeyondThePlotBecomeArrowsBesideTheirLabel) {
  gdSeries& a = rig.AddSeries("A", {1.0, 2.0, 10.0}, kRed);
  for (std::size_t i = 0; i < 3; ++i) a.PointAt(i).SetValue(20.0 + 10.0 * i);
  rig.pane.SetShowAverage(true);
  std::vector<std::string> log = Draw();
  // "30.0" takes 400 twips of the slot: w = 2600, the bar from 260 to 2340.
  const double cx = Left() + 260 + 1040;
  const double labelX = Left() + 2340 + 30;
  EXPECT_TRUE(Has(log, LineText(cx, Top() - 75, cx - 30, Top(), kRed)));
  EXPECT_TRUE(Has(log, LineText(cx, Top() - 75, cx + 30, Top(), kRed)));
  EXPECT_TRUE(Has(log, LineText(cx - 37.5, Top() - 15, cx, Top() - 90, kLine)));
  EXPECT_TRUE(Has(log, LineText(cx + 37.5, Top() - 15, cx - 37.5, Top() - 15, kLine)));
  EXPECT_TRUE(Has(log, PrintText(labelX, Top() - 100, kRed, "30.0")));
  if (IsHiLo()) {
    // The whole bar lies beyond the plot: neither bar nor current-value dot.
    EXPECT_EQ(CountOf(log, "FilledBox ", kRed), 0);
    EXPECT_EQ(CountOf(log, "Circle ", kLine), 0);
  }
  // The current value's arrow is filled in the line colour.
  for (std::size_t i = 0; i < 3; ++i) a.PointAt(i).SetValue(-20.0 - 10.0 * i);
  rig.pane.SetShowCurrent(true);
  log = Draw();
  const double cxBelow = Left() + 250 + 1000;  // "-40.0" takes 500
  EXPECT_TRUE(Has(log, LineText(cxBelow, Bottom() + 75, cxBelow + 15, Bottom(), kLine)));
  EXPECT_TRUE(Has(log, LineText(cxBelow - 37.5, Bottom() + 15, cxBelow, Bottom() + 90, kLine)));
  EXPECT_TRUE(Has(log, PrintText(Left() + 250 + 2000 + 30, Bottom() - 100, kRed, "-40.0")));
}

TEST_P(ColumnGraphTest, MarksInsideThePlotCarryTheGainOnlyWhenAskedTo) {
  rig.AddSeries("A", {2.0, 5.0, 3.0, 3.0}, kRed).SetGain(2.0);
  rig.pane.SetShowCurrent(true);
  rig.pane.SetIncludeGain(false);
  std::vector<std::string> log = Draw();
  // Placed at 3 × 2 whatever the label shows; "3.0" takes 300 twips: w = 2700.
  const double y = Y(6.0);
  const double cx = Left() + 270 + 1080;
  EXPECT_TRUE(Has(log, "Circle " + At(cx, y) + " r30 0x80000008 fill 0x80000008"));
  EXPECT_TRUE(Has(log, PrintText(Left() + 270 + 2160 + 30, y - 100, kRed, "3.0")));
  if (IsHiLo()) {
    EXPECT_TRUE(Has(log, LineText(Left() + 270, y, Left() + 2430, y, kLine)));
  } else {
    EXPECT_TRUE(Has(log, LineText(cx - 135, y, cx + 135, y, kLine)));
    EXPECT_TRUE(Has(log, LineText(cx, y - 81, cx, y + 108, kLine)));
  }
  rig.pane.SetIncludeGain(true);
  EXPECT_TRUE(Has(Printed(Draw()), "6.0"));
  // The average's dot is filled in the series colour, and it wins over the current value.
  rig.pane.SetShowAverage(true);
  log = Draw();
  EXPECT_TRUE(Has(log, "Circle " + At(cx, Y(6.5)) + " r30 0x80000008 fill 0x0000FF"));
  EXPECT_FALSE(Has(Printed(log), "6.0"));
}

TEST_P(ColumnGraphTest, AverageAddsTheNewestValueFirst) {
  // Summed oldest first, the 1 would vanish into 1e16 and the average read 0.0.
  rig.AddSeries("A", {1.0, 1e16, -1e16}, kRed);
  rig.pane.SetShowAverage(true);
  EXPECT_TRUE(Has(Printed(Draw()), "0.333"));
}

struct EdgeCase {
  const char* name;
  gpGraphType type;
  bool atTop;
  double pixelsOutside;
  bool marked;
};

class CurrentValueAtTheEdgeTest : public ::testing::TestWithParam<EdgeCase> {};

// The hi/lo dot, or the bar's value edge, stands for a value less than one pixel outside the
// plot and not for one exactly one pixel out.
TEST_P(CurrentValueAtTheEdgeTest, MarkedOnlyWithinOnePixel) {
  const EdgeCase& c = GetParam();
  GraphPaneRig rig(248, 300);
  rig.pane.SetGraphType(c.type);
  // The zero line on the edge in question, so that a small value can land exactly on the bound.
  const double sign = c.atTop ? -1.0 : 1.0;
  gdSeries& a = rig.AddSeries("A", {5.0 * sign, 5.0 * sign, 10.0 * sign}, kRed);
  const GraphContext ctx = rig.Frame();
  const double edge = c.atTop ? ctx.Virtual.top - c.pixelsOutside * ctx.yPixel
                              : ctx.Virtual.Bottom + c.pixelsOutside * ctx.yPixel;
  double v = (ctx.xAxisH - edge) / ctx.yFactor;
  while (ctx.xAxisH - v * ctx.yFactor < edge) v = std::nextafter(v, -1e300);
  while (ctx.xAxisH - v * ctx.yFactor > edge) v = std::nextafter(v, 1e300);
  ASSERT_EQ(ctx.xAxisH - v * ctx.yFactor, edge);
  a.PointAt(2).SetValue(v);
  const std::vector<std::string> log = rig.Log();
  const double width = ctx.Virtual.Right - ctx.Virtual.Left;
  const bool hasMarker =
      c.type == gpHiLo
          ? CountOf(log, "Circle ", kLine) == 1
          : Has(log, LineText(ctx.Virtual.Left + 0.1 * width, edge, ctx.Virtual.Left + 0.9 * width, edge, kLine));
  EXPECT_EQ(hasMarker, c.marked);
  EXPECT_EQ(CountOf(log, "FilledBox ", kRed), 1);  // the bar itself is drawn unclipped
}

INSTANTIATE_TEST_SUITE_P(
    Edges, CurrentValueAtTheEdgeTest,
    ::testing::Values(EdgeCase{"HiLoOnePixelAbove", gpHiLo, true, 1.0, false},
                      EdgeCase{"HiLoHalfAPixelAbove", gpHiLo, true, 0.5, true},
                      EdgeCase{"HiLoOnePixelBelow", gpHiLo, false, 1.0, false},
                      EdgeCase{"HiLoHalfAPixelBelow", gpHiLo, false, 0.5, true},
                      EdgeCase{"BarOnePixelAbove", gpBar, true, 1.0, false},
                      EdgeCase{"BarHalfAPixelAbove", gpBar, true, 0.5, true},
                      EdgeCase{"BarOnePixelBelow", gpBar, false, 1.0, false},
                      EdgeCase{"BarHalfAPixelBelow", gpBar, false, 0.5, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(ColumnGraphTest, SeriesNeverReadKeepsItsColumnButShowsNoValue) {
  rig.AddSeries("A", {2.0, 10.0, 5.0}, kRed);
  rig.data.AddSeries("B", "B long", kGreen);
  rig.pane.SetXAxisLabels(0);
  rig.pane.SetShowCurrent(true);
  const std::vector<std::string> log = Draw();
  // Both labels "5.0" and "0.0" take 300: slots of 1500.
  EXPECT_TRUE(Has(log, PrintText(Left() + 1500 + 750 - 50, ctx.xAxisH + 64, kLine, "B")));
  EXPECT_TRUE(Has(log, LineText(Left() + 3000, ctx.xAxisH - 32, Left() + 3000, ctx.xAxisH + 32, kLine)));
  for (const char* kind : {"FilledBox ", "Box ", "Line ", "Circle "}) {
    EXPECT_EQ(CountOf(log, kind, kGreen), 0) << kind;
  }
  const std::vector<std::string> texts = Printed(log);
  // Only the range label and the axis's own.
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "0.0"), 2);
  EXPECT_TRUE(Has(texts, "5.0"));
}

TEST_P(ColumnGraphTest, SeriesWithNothingInTheWindow) {
  rig.data.AddSeries("Old", "", kRed)->AddPoint(kNow - 1000.0, 5.25);
  rig.AddSeries("B", {10.0, 2.0}, kGreen);
  rig.pane.SetShowCurrent(true);
  const std::vector<std::string> log = Draw();
  // Its label "5.25" is measured (slots of 1500, w = 1100) but not printed.
  EXPECT_FALSE(Has(Printed(log), "5.25"));
  if (IsHiLo()) {
    // Its extremes were never read: no bar between ±65536 filling the plot, and no dot; the two
    // circles are the other series' marker and mark.
    EXPECT_EQ(CountOf(log, "FilledBox ", kRed), 0);
    EXPECT_EQ(CountOf(log, "Circle ", kLine), 2);
  } else {
    // The bar graph still shows the newest value, older than the window.
    EXPECT_TRUE(Has(log, FilledBoxText(Left() + 110, ctx.xAxisH, Left() + 990, Y(5.25), kRed)));
  }
}

INSTANTIATE_TEST_SUITE_P(Types, ColumnGraphTest, ::testing::Values(gpHiLo, gpBar), TypeName);

// A 4000-pixel pane with one series has a slot far wider than 16 bits hold.
struct WideColumnGraphTest : ColumnGraph {
  WideColumnGraphTest() : ColumnGraph(4000) {}
};

TEST_P(WideColumnGraphTest, SlotWiderThanSixteenBits) {
  rig.AddSeries("A", {2.0, 8.0, 5.0}, kRed);
  rig.pane.SetShowCurrent(true);
  const std::vector<std::string> log = Draw();
  const double width = ctx.Virtual.Right - ctx.Virtual.Left;
  ASSERT_GT(width, 40000.0);
  const double w = width - 300;  // "5.0"
  const double y1 = IsHiLo() ? Y(8.0) : ctx.xAxisH;
  const double y2 = IsHiLo() ? Y(2.0) : Y(5.0);
  EXPECT_TRUE(Has(log, FilledBoxText(Left() + 0.1 * w, y1, Left() + 0.9 * w, y2, kRed))) << w;
  EXPECT_TRUE(Has(log, PrintText(Left() + 0.9 * w + 30, Y(5.0) - 100, kRed, "5.0")));
  EXPECT_TRUE(Has(log, LineText(Left() + width, ctx.xAxisH - 32, Left() + width, ctx.xAxisH + 32, kLine)));
}

INSTANTIATE_TEST_SUITE_P(Types, WideColumnGraphTest, ::testing::Values(gpHiLo, gpBar), TypeName);

TEST(HiLoGraphTest, FlatBarIsFourPixelsHigh) {
  GraphPaneRig rig(248, 300);
  rig.pane.SetGraphType(gpHiLo);
  rig.AddSeries("A", {4.0, 4.0, 4.0}, kRed).SetGain(-1.0);
  const GraphContext ctx = rig.Frame();
  const double y = ctx.xAxisH + 4.0 * ctx.yFactor;
  const double left = ctx.Virtual.Left + 0.1 * (ctx.Virtual.Right - ctx.Virtual.Left);
  const double right = ctx.Virtual.Left + 0.9 * (ctx.Virtual.Right - ctx.Virtual.Left);
  EXPECT_TRUE(Has(rig.Log(), FilledBoxText(left, y - 30, right, y + 30, kRed)));
}

// The series whose values leave the doubles stays out of the range: the others' bars are as usual,
// and its own runs from its lowest value (the hi/lo bar) or the zero line (the bar) to the top edge.
TEST_P(ColumnGraphTest, ASeriesBeyondTheDoublesLeavesTheOthersDrawn) {
  testing::AddScanListSeries(rig, testing::kOverflowingScanList, {0.0, 300.0, 0.0, 1200.0, 800.0});
  const std::vector<std::string> log = Draw();
  ASSERT_EQ(std::pair(ctx.minVal, ctx.maxVal), std::pair(-2400.0, 1200.0));
  const ColumnSlot red = ColumnSlotOf(ctx.Virtual, 3, 0, 0.0);
  const ColumnSlot green = ColumnSlotOf(ctx.Virtual, 3, 1, 0.0);
  const ColumnSlot blue = ColumnSlotOf(ctx.Virtual, 3, 2, 0.0);
  if (IsHiLo()) {
    EXPECT_TRUE(Has(log, FilledBoxText(red.BarLeft(), Y(1200.0), red.BarRight(), Y(0.0), testing::kListRed)));
    EXPECT_TRUE(Has(log, FilledBoxText(green.BarLeft(), Top(), green.BarRight(), Y(0.0), testing::kListGreen)));
    EXPECT_TRUE(Has(log, FilledBoxText(blue.BarLeft(), Y(-2400.0), blue.BarRight(), Y(0.0), testing::kListBlue)));
  } else {
    EXPECT_TRUE(Has(log, FilledBoxText(red.BarLeft(), ctx.xAxisH, red.BarRight(), Y(800.0), testing::kListRed)));
    EXPECT_TRUE(Has(log, FilledBoxText(green.BarLeft(), ctx.xAxisH, green.BarRight(), Top(), testing::kListGreen)));
    EXPECT_TRUE(Has(log, FilledBoxText(blue.BarLeft(), ctx.xAxisH, blue.BarRight(), Y(-1600.0), testing::kListBlue)));
  }
  EXPECT_TRUE(Has(log, LineText(green.BarLeft() + ctx.xPixel, Top(), green.BarRight(), Top(), testing::kListGreen)));
}

struct HostileCase {
  const char* name;
  gpGraphType type;
  int width;
  int height;
  double gain;
  double value;
  int series;
};

class HostileColumnsTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileColumnsTest, DrawsWhatItCan) {
  const HostileCase& c = GetParam();
  GraphPaneRig rig(c.width, c.height);
  rig.pane.SetGraphType(c.type);
  for (int s = 0; s < c.series; ++s) rig.AddSeries("S" + std::to_string(s), {c.value, -c.value, c.value}).SetGain(c.gain);
  rig.pane.SetShowAverage(true);
  rig.pane.SetXRules(true);
  const std::vector<std::string> log = rig.Log();
  ASSERT_FALSE(log.empty());
  for (const std::string& entry : log) {
    EXPECT_EQ(entry.find("nan"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("inf"), std::string::npos) << entry;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Panes, HostileColumnsTest,
    ::testing::Values(HostileCase{"HiLoHugeGain", gpHiLo, 400, 300, 1e300, 1e10, 2},
                      HostileCase{"BarHugeValue", gpBar, 400, 300, 1.0, 1e308, 2},
                      HostileCase{"HiLoSmallerThanItsMargins", gpHiLo, 4, 3, 1.0, 1.0, 3},
                      HostileCase{"BarNoPixels", gpBar, 0, 0, -3.0, 7.0, 3},
                      HostileCase{"HiLoNoSeries", gpHiLo, 400, 300, 1.0, 1.0, 0},
                      HostileCase{"BarThousandSeries", gpBar, 400, 300, 1.0, 1.0, 1000}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quendrel

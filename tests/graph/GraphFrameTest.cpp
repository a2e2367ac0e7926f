// The frame every graph type shares: value range, time window, labels, Y axis and legend.
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <string>
#include <vector>

#include "graph/support/GraphPaneRig.h"

namespace quendrel {
namespace {

using testing::GraphPaneRig;
using testing::Has;
using testing::kNow;
using testing::Printed;

TEST(GraphFrameTest, RangeAndWindowFollowTheVisibleSeries) {
  GraphPaneRig rig;
  gdSeries& scaled = rig.AddSeries("A", {10.0, -3.0});
  scaled.SetGain(-2.0);
  gdSeries& hidden = *rig.data.AddSeries("H", "", 0);
  hidden.AddPoint(kNow + 100.0, 1000.0);
  hidden.SetVisible(false);
  const GraphContext ctx = rig.Frame();
  EXPECT_EQ(ctx.maxVal, 6.0);
  EXPECT_EQ(ctx.minVal, -20.0);
  EXPECT_EQ(ctx.lastTime, kNow);
  EXPECT_EQ(ctx.lastTime - ctx.firstTime, 300.0);
  const GraphRect& plot = ctx.Virtual;
  EXPECT_LE(plot.top, ctx.xAxisH);
  EXPECT_LE(ctx.xAxisH, plot.Bottom);
  EXPECT_DOUBLE_EQ(ctx.xAxisH, plot.top + ctx.maxVal * ctx.yFactor);
}

TEST(GraphFrameTest, SingleInstantIsCentredAndMidnightKeepsTheNewestPoint) {
  GraphPaneRig rig;
  rig.data.AddSeries("A", "", 0)->AddPoint(kNow - 4000.0, 1.0);
  GraphContext ctx = rig.Frame();
  EXPECT_EQ(ctx.firstTime, kNow - 4150.0);
  EXPECT_EQ(ctx.lastTime, kNow - 3850.0);

  // Points on both sides of midnight, all older than the clock's day start.
  rig.data.AddSeries("B", "", 0)->AddPoint(FakeClock::DefaultStart - 30.0, 1.0);
  rig.data.Series("A")->AddPoint(FakeClock::DefaultStart + 20.0, 2.0);
  ctx = rig.Frame();
  EXPECT_EQ(ctx.lastTime, FakeClock::DefaultStart + 20.0);
}

TEST(GraphFrameTest, LabelsAndEmptyCaption) {
  GraphPaneRig rig;
  rig.AddSeries("A", {123456.0, -12345.0});
  rig.pane.SetCaption("");
  const std::vector<std::string> texts = Printed(rig.Log());
  EXPECT_TRUE(Has(texts, "12345"));
  EXPECT_TRUE(Has(texts, "-1234"));
  // An empty caption still takes a line: one line of 165 twips plus 5 pixels.
  EXPECT_EQ(rig.Frame().Virtual.top, 240 + 165 / 2);
}

TEST(GraphFrameTest, UpperLabelsStopBeforeTheMaximumLabel) {
  GraphPaneRig rig;
  rig.AddSeries("A", {10.0});
  rig.pane.SetYRules(false);
  const std::vector<std::string> log = rig.Log();
  const std::vector<std::string> texts = Printed(log);
  // Labels every 248 twips on a 3892-twip plot; the 16th would overlap "10.0".
  const std::vector<std::string> expected = {"gpGraph", "10.0", "0.0", "0.6", "1.3"};
  EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 5), expected);
  EXPECT_EQ(texts[2 + 15], "9.6");
  EXPECT_EQ(texts[2 + 16], "0.0");  // the line graph's own zero label
  for (const std::string& entry : log) EXPECT_EQ(entry.find("0x8000000B"), std::string::npos) << entry;
}

// A recording canvas that counts the text heights measured while drawing, one or more for each label
// placed. A 400 x 300 pane measures under forty; a drawing that goes far beyond that would run on
// for seconds, so it is stopped there.
class MeasureCountingCanvas : public RecordingCanvas {
 public:
  static constexpr int kBudget = 5000;
  using RecordingCanvas::RecordingCanvas;
  int Measured() const { return measured_; }

 protected:
  float DoLineHeight() const override {
    if (++measured_ > kBudget) throw std::runtime_error("the drawing keeps measuring texts");
    return RecordingCanvas::DoLineHeight();
  }

 private:
  mutable int measured_ = 0;
};

struct DrawnPane {
  std::vector<std::string> Log;
  int Measured = 0;
  bool Ended = false;
};

DrawnPane DrawWithGain(std::int32_t type, double gain, bool besideNormal) {
  GraphPaneRig rig;
  rig.pane.SetGraphType(type);
  rig.AddSeries("M01P01", {120.0, 480.0, 300.0}, 0x0000FF).SetGain(gain);
  if (besideNormal) rig.AddSeries("M01P02", {-5.0, 12.0, 20.0}, 0x00FF00);
  MeasureCountingCanvas canvas(400, 300);
  DrawnPane drawn;
  try {
    rig.pane.DrawGraph(canvas);
    drawn.Ended = true;
  } catch (const std::runtime_error&) {
  }
  drawn.Log = canvas.Log();
  drawn.Measured = canvas.Measured();
  return drawn;
}

// A gain so small that the value range underflows: each graph type ends after a bounded amount of
// work and draws the series as one whose values are all zero, on the flat range -1 to 1 when alone.
TEST(GraphFrameTest, AnUnderflowingGainIsDrawnAsAFlatRange) {
  const char* types[] = {"line", "hilo", "bar"};
  for (std::int32_t type : {gpLine, gpHiLo, gpBar}) {
    for (const auto& [gain, gainText] : {std::pair{1e-310, "1e-310"}, std::pair{1e-320, "1e-320"}}) {
      for (bool besideNormal : {false, true}) {
        SCOPED_TRACE(std::string(types[type]) + " gain " + gainText + (besideNormal ? " beside" : " alone"));
        const DrawnPane drawn = DrawWithGain(type, gain, besideNormal);
        ASSERT_TRUE(drawn.Ended) << "measured " << drawn.Measured << " texts";
        EXPECT_EQ(drawn.Log, DrawWithGain(type, 0.0, besideNormal).Log);
        const std::vector<std::string> texts = Printed(drawn.Log);
        EXPECT_EQ(Has(texts, "1.0") && Has(texts, "-1.0"), !besideNormal);
      }
    }
  }
}

struct LegendCase {
  const char* name;
  int width;
  int height;
  std::int32_t position;
  int series;
  std::vector<std::string> boxes;  // the legend's fill and outline
  GraphRect plotBeforeLabels;
};

class LegendPlacementTest : public ::testing::TestWithParam<LegendCase> {};

TEST_P(LegendPlacementTest, BoxAndPlot) {
  const LegendCase& c = GetParam();
  GraphPaneRig rig(c.width, c.height);
  for (int i = 0; i < c.series; ++i) rig.AddSeries(std::string(1, static_cast<char>('A' + i)), {1.0});
  rig.pane.SetLegend(c.position);
  GraphContext ctx;
  ASSERT_TRUE(LayoutGraph(rig.pane, rig.canvas, ctx));
  rig.canvas.ClearLog();
  DrawLegend(rig.pane, rig.canvas, ctx);
  std::vector<std::string> boxes;
  for (const std::string& entry : rig.canvas.Log()) {
    if (entry.find("Box") != std::string::npos && entry.find("r30") == std::string::npos &&
        entry.find("(9") == std::string::npos) {
      boxes.push_back(entry);
    }
  }
  EXPECT_EQ(std::vector<std::string>(boxes.begin(), boxes.begin() + std::min<std::size_t>(2, boxes.size())), c.boxes);
  EXPECT_EQ(ctx.Virtual.Left, c.plotBeforeLabels.Left);
  EXPECT_EQ(ctx.Virtual.top, c.plotBeforeLabels.top);
  EXPECT_EQ(ctx.Virtual.Right, c.plotBeforeLabels.Right);
  EXPECT_EQ(ctx.Virtual.Bottom, c.plotBeforeLabels.Bottom);
}

// Entries " A" are 165 + 460 twips wide and 14 pixels (210 twips) high.
INSTANTIATE_TEST_SUITE_P(
    Examples, LegendPlacementTest,
    ::testing::Values(
        LegendCase{"ThreeInOneTopRow", 400, 300, gpLegendTop, 3,
                   {"FilledBox (2062,240)-(4027,540) 0x80000005", "Box (2062,240)-(4027,540) 0x80000008"},
                   {128, 600, 5872, 4297}},
        LegendCase{"SevenInThreeRows", 160, 300, gpLegendTop, 7,
                   {"FilledBox (218,240)-(2183,960) 0x80000005", "Box (218,240)-(2183,960) 0x80000008"},
                   {128, 1020, 2272, 4297}},
        LegendCase{"SevenInTwoColumns", 400, 90, gpLegendRight, 7,
                   {"FilledBox (4547,229)-(5887,1159) 0x80000005", "Box (4547,229)-(5887,1159) 0x80000008"},
                   {128, 240, 4382, 1147}},
        LegendCase{"NothingFitsAcross", 30, 300, gpLegendBottom, 1, {}, {128, 240, 322, 4297}},
        LegendCase{"NothingFitsDown", 400, 20, gpLegendLeft, 1, {}, {128, 240, 5872, 97}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LegendTest, TextsCountVisibleSeriesAndCarryTheGain) {
  GraphPaneRig rig;
  rig.AddSeries("Hidden", {1.0}).SetVisible(false);
  rig.AddSeries("LongerThanSeven", {1.0}).SetGain(12345.0);
  rig.AddSeries("B", {1.0}).SetGain(-1000.0);
  rig.AddSeries("C", {1.0}).SetGain(0.25);
  rig.pane.SetLegend(gpLegendBottom);
  EXPECT_TRUE(Has(Printed(rig.Log()), "LongerT x 1234\x85"));
  EXPECT_TRUE(Has(Printed(rig.Log()), "B x -100\x85"));
  EXPECT_TRUE(Has(Printed(rig.Log()), "C x 0.25"));
  rig.pane.SetLegendName(2);
  EXPECT_TRUE(Has(Printed(rig.Log()), "Parameter 1 x 1234\x85"));
}

TEST(LegendTest, RowsWiderThanSixteenBitsStillLayOut) {
  GraphPaneRig rig(3000, 300);
  for (int i = 0; i < 300; ++i) rig.AddSeries("S" + std::to_string(i), {1.0});
  rig.pane.SetLegend(gpLegendTop);
  GraphContext ctx;
  ASSERT_TRUE(LayoutGraph(rig.pane, rig.canvas, ctx));
  DrawLegend(rig.pane, rig.canvas, ctx);
  // 51 entries of 872 twips a row (44472 twips), 6 rows of 210 twips.
  EXPECT_EQ(ctx.Virtual.top, 240 + 150 + 6 * 210);
  EXPECT_TRUE(Has(rig.canvas.Log(), "Box (219,240)-(44781,1590) 0x80000008"));
}

}  // namespace
}  // namespace quendrel

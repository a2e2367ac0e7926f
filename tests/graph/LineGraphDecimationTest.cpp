// Drawing the line graph column by column must give the very picture of drawing every point by
// itself, on the recording canvas and on a Qt image, however dense or wild the data.
#include <gtest/gtest.h>

#include <QImage>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "graph/support/GraphPaneRig.h"
#include "platform/qt/PainterCanvas.h"
#include "platform/qt/QtConvert.h"
#include "platform/support/DifferentPixels.h"
#include "support/CaseName.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

using testing::GraphPaneRig;
using testing::kNow;

constexpr double kWindow = 300.0;

double Unit(std::mt19937& random) { return static_cast<double>(random()) / 4294967296.0; }

// A wave with noise over the whole window, with stretches left empty and some stamps repeated.
gdSeries& AddDense(GraphPaneRig& rig, const std::string& name, Color color, int count,
                   double noise, unsigned seed) {
  std::mt19937 random(seed);
  gdSeries& series = *rig.data.AddSeries(name, name, color);
  double t = kNow - kWindow + 0.5;
  for (int i = 0; i < count; ++i) {
    const double at = static_cast<double>(i) / count;
    if (i % 37 != 0) t = kNow - kWindow + 0.5 + (kWindow - 0.5) * at;
    const bool gap = (at > 0.30 && at < 0.36) || (at > 0.71 && at < 0.72);
    if (gap) continue;
    series.AddPoint(t, std::sin(at * 40.0) + noise * (Unit(random) - 0.5));
  }
  return series;
}

// Moves stretches of points out of the plotted range (which was fixed as they were added):
// runs above and below the band, points hopping in and out, and wild jumps.
void Disturb(gdSeries& series, unsigned seed) {
  std::mt19937 random(seed);
  const std::size_t n = series.PointCount();
  const auto at = [n](double fraction) { return static_cast<std::size_t>(fraction * n); };
  for (std::size_t i = at(0.12); i < at(0.14); ++i) series.PointAt(i).SetValue(5.0);
  for (std::size_t i = at(0.50); i < at(0.52); ++i) series.PointAt(i).SetValue(-5.0);
  for (std::size_t i = at(0.60); i < at(0.62); i += 2) series.PointAt(i).SetValue(4.0);
  for (std::size_t i = at(0.80); i < at(0.85); ++i) {
    series.PointAt(i).SetValue(6.0 * (Unit(random) - 0.5));
  }
}

// A value whose canvas Y is exactly the given bound of the band, for a gain of 1.
double ValueOnBound(const GraphContext& ctx, double bound) {
  const auto y = [&ctx](double v) { return ctx.xAxisH - v * ctx.yFactor; };
  double v = (ctx.xAxisH - bound) / ctx.yFactor;
  for (int i = 0; i < 64 && y(v) < bound; ++i) v = std::nextafter(v, -1e300);
  for (int i = 0; i < 64 && y(v) > bound; ++i) v = std::nextafter(v, 1e300);
  return v;
}

struct DenseCase {
  const char* name;
  int width;
  int height;
  bool rules;
  bool average;
  bool current;
};

void PrintTo(const DenseCase& c, std::ostream* out) { *out << c.name; }

struct LineGraphDecimationTest : ::testing::TestWithParam<DenseCase> {
  LineGraphDecimationTest() : rig(GetParam().width, GetParam().height) {
    QtTestApp();
    const DenseCase& c = GetParam();
    rig.pane.SetXRules(c.rules);
    rig.pane.SetShowAverage(c.average);
    rig.pane.SetShowCurrent(c.current);
    rig.pane.SetLineColor(0x00A0A0);
    rig.pane.SetRuleColor(0xD0D0D0);
    gdSeries& a = AddDense(rig, "A", 0x0000FF, 30000, 0.3, 1);
    gdSeries& sparse = AddDense(rig, "B", 0x008000, 500, 0.1, 2);
    sparse.SetGain(2.0);
    gdSeries& wild = AddDense(rig, "C", 0xFF0000, 20000, 2.0, 3);
    wild.SetGain(-1.0);
    AddDense(rig, "D", 0x00FFFF, 20000, 0.0, 4).SetVisible(false);
    // Beyond the doubles but for its zeros: dots on the zero line, reached from the plot's edges.
    gdSeries& overflowing = AddDense(rig, "E", 0xFF00FF, 600, 0.0, 7);
    overflowing.SetGain(DBL_MAX);
    for (std::size_t i = 0; i < overflowing.PointCount(); i += 15) overflowing.PointAt(i).SetValue(0.0);
    Disturb(a, 5);
    Disturb(wild, 6);
    const GraphContext ctx = rig.Frame();
    for (std::size_t i = 1000; i < 1010; ++i) {
      a.PointAt(i).SetValue(ValueOnBound(ctx, ctx.Virtual.top - ctx.yPixel));
      a.PointAt(i + 20).SetValue(ValueOnBound(ctx, ctx.Virtual.Bottom + ctx.yPixel));
    }
  }

  std::vector<std::string> Draw(RecordingCanvas& canvas, LineGraphDetail detail) {
    canvas.ClearLog();
    DrawLineGraph(rig.pane, canvas, detail);
    return canvas.Log();
  }

  GraphPaneRig rig;
};

TEST_P(LineGraphDecimationTest, SamePixelsAsEveryPointDrawnByItself) {
  const DenseCase& c = GetParam();
  RecordingCanvas everyPoint(c.width, c.height);
  const std::size_t everyCalls = Draw(everyPoint, LineGraphDetail::EveryPoint).size();
  RecordingCanvas decimated(c.width, c.height);
  const std::size_t decimatedCalls = Draw(decimated, LineGraphDetail::Decimated).size();
  const CanvasImage expected = everyPoint.Snapshot();
  const CanvasImage actual = decimated.Snapshot();
  ASSERT_EQ(actual.Width, expected.Width);
  ASSERT_EQ(actual.Height, expected.Height);
  EXPECT_EQ(DifferentPixels(actual, expected), 0);
  // The shortcut was taken: far fewer calls than points.
  EXPECT_LT(decimatedCalls * 10, everyCalls);
}

TEST_P(LineGraphDecimationTest, SamePixelsOnAQtImage) {
  const DenseCase& c = GetParam();
  QImage expected(c.width, c.height, QImage::Format_RGB32);
  PainterCanvas everyPoint(expected);
  DrawLineGraph(rig.pane, everyPoint, LineGraphDetail::EveryPoint);
  QImage actual(c.width, c.height, QImage::Format_RGB32);
  PainterCanvas decimated(actual);
  DrawLineGraph(rig.pane, decimated, LineGraphDetail::Decimated);
  EXPECT_EQ(DifferentPixels(FromQImage(actual), FromQImage(expected)), 0);
  EXPECT_TRUE(actual.save(QString::fromStdString(
      TestOutputPath("graph", std::string("line-dense-") + c.name + ".png"))));
}

// The series are worked out side by side and drawn as their work comes back: the canvas gets
// the same calls in the same order however many threads did the work.
TEST_P(LineGraphDecimationTest, SameCallsOnAnyNumberOfThreads) {
  const DenseCase& c = GetParam();
  RecordingCanvas alone(c.width, c.height);
  DrawLineGraph(rig.pane, alone, LineGraphDetail::Decimated, 1);
  for (const unsigned threads : {2u, 5u, 0u}) {
    RecordingCanvas together(c.width, c.height);
    DrawLineGraph(rig.pane, together, LineGraphDetail::Decimated, threads);
    EXPECT_EQ(together.LogText(), alone.LogText()) << threads << " threads";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Panes, LineGraphDecimationTest,
    ::testing::Values(DenseCase{"wide-rules-average", 400, 300, true, true, false},
                      DenseCase{"narrow-current", 120, 90, false, false, true},
                      DenseCase{"tall-rules-both-marks", 250, 700, true, true, true}),
    [](const auto& info) { return CaseName(info.index, info.param.name); });

// With at most one point a pixel column, the calls are exactly those of every point by itself.
TEST(LineGraphSparseTest, OnePointAColumnGivesEveryPointsOwnCalls) {
  GraphPaneRig rig(400, 300);
  rig.pane.SetXRules(true);
  rig.pane.SetShowAverage(true);
  rig.pane.SetShowCurrent(true);
  gdSeries& series = rig.AddSeries("A", std::vector<double>(120, 0.0));
  for (std::size_t i = 0; i < 120; ++i) series.PointAt(i).SetValue(std::sin(i / 6.0));
  series.PointAt(50).SetValue(9.0);
  series.PointAt(51).SetValue(-9.0);
  RecordingCanvas everyPoint(400, 300);
  DrawLineGraph(rig.pane, everyPoint, LineGraphDetail::EveryPoint);
  RecordingCanvas decimated(400, 300);
  DrawLineGraph(rig.pane, decimated, LineGraphDetail::Decimated);
  EXPECT_EQ(decimated.LogText(), everyPoint.LogText());
}

}  // namespace
}  // namespace quendrel

// Pictures of the hi/lo and bar graphs for people to look at (test-output/graph/): marks inside,
// above and below the plot, and the columns named by short and by long names.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "graph/pane/qt/GraphPaneWidget.h"
#include "graph/support/GraphPaneRig.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

using testing::GraphPaneRig;
using testing::kNow;

constexpr Color kColors[] = {0x0000FF, 0x008000, 0xFF0000, 0x008080};

int PixelsOf(const QImage& image, Color color) {
  const QRgb wanted = qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == wanted ? 1 : 0;
  }
  return count;
}

struct ColumnGraphPictures : ::testing::TestWithParam<gpGraphType> {
  ColumnGraphPictures() {
    rig.pane.SetGraphType(GetParam());
    rig.pane.SetCaption(GetParam() == gpHiLo ? "Hi/Lo" : "Bar Graph");
    rig.pane.SetLegend(gpLegendRight);
    // Waves inside the range; then the newest points of M00P02 are lifted above the plot and
    // the whole window of M00P03 dropped below it, past the extremes the range was made from.
    for (int s = 0; s < 4; ++s) {
      gdSeries& series = *rig.data.AddSeries("M00P0" + std::to_string(s + 1), "Sample " + std::to_string(s + 1), kColors[s]);
      for (int i = 0; i < 120; ++i) series.AddPoint(kNow - 119 + i, (s + 1) * 10.0 * std::sin(i / (8.0 + s)) + 5.0);
    }
    gdSeries& lifted = *rig.data.Series("M00P02");
    for (std::size_t i = 100; i < 120; ++i) lifted.PointAt(i).SetValue(lifted.PointAt(i).Value() + 60.0);
    gdSeries& dropped = *rig.data.Series("M00P03");
    for (std::size_t i = 0; i < 120; ++i) dropped.PointAt(i).SetValue(dropped.PointAt(i).Value() - 100.0);
    rig.data.Series("M00P04")->SetGain(-0.5);
  }
  QImage Save(const std::string& name) {
    rig.pane.Refresh();
    const QImage picture = widget.Picture().copy();
    const std::string type = GetParam() == gpHiLo ? "hilo-" : "bar-graph-";
    EXPECT_TRUE(picture.save(QString::fromStdString(TestOutputPath("graph", type + name))));
    return picture;
  }

  QApplication& app = QtTestApp();
  GraphPaneRig rig;
  GraphPaneWidget widget{rig.pane};
};

TEST_P(ColumnGraphPictures, MarksInsideAboveAndBelow) {
  widget.resize(640, 400);
  rig.pane.SetXAxisLabels(0);
  rig.pane.SetShowCurrent(true);
  const QImage current = Save("current-short-names.png");
  rig.pane.SetXAxisLabels(1);
  rig.pane.SetXRules(true);
  rig.pane.SetShowAverage(true);
  const QImage average = Save("average-long-names-rules.png");
  EXPECT_NE(current, average);
  // Every series in range shows its bar; the dropped one only on the bar graph, clipped.
  for (const QImage& picture : {current, average}) {
    EXPECT_GT(PixelsOf(picture, kColors[0]), 400);
    EXPECT_GT(PixelsOf(picture, kColors[3]), 400);
    EXPECT_EQ(PixelsOf(picture, kColors[2]) > 400, GetParam() == gpBar);
  }
  rig.pane.SetShowAverage(false);
  rig.pane.SetXAxisLabels(2);
  widget.resize(300, 180);
  Save("small-no-names.png");
}

INSTANTIATE_TEST_SUITE_P(Types, ColumnGraphPictures, ::testing::Values(gpHiLo, gpBar),
                         [](const auto& info) { return info.param == gpHiLo ? "HiLo" : "Bar"; });

}  // namespace
}  // namespace quendrel

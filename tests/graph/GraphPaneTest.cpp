// The graph pane's settings: their side effects, the binding to a data control and the stored form.
#include "graph/pane/GraphPane.h"

#include <gtest/gtest.h>

#include "graph/support/ClockSetBack.h"
#include "graph/support/GraphPaneRig.h"

namespace quendrel {
namespace {

using testing::GraphPaneRig;

TEST(GraphPaneTest, SettersKeepTheirRules) {
  GraphPaneRig rig;
  int notified = 0;
  int refreshed = 0;
  rig.pane.OnSettingsChanged([&] { ++notified; });
  rig.pane.OnRefresh([&] { ++refreshed; });

  rig.pane.SetWindowLength(0.0);
  EXPECT_EQ(rig.pane.WindowLength(), 2.0);
  rig.pane.SetWindowLength(0.5);
  EXPECT_EQ(rig.pane.WindowLength(), 0.5);

  rig.pane.SetShowAverage(true);
  rig.pane.SetShowCurrent(true);
  EXPECT_FALSE(rig.pane.ShowAverage());
  rig.pane.SetShowAverage(true);
  EXPECT_FALSE(rig.pane.ShowCurrent());

  rig.pane.SetGraphType(gpBar);
  rig.pane.SetGraphType(5);
  EXPECT_EQ(rig.pane.GraphType(), 5);
  EXPECT_EQ(rig.pane.CheckedGraphType(), gpBar);
  rig.pane.SetIsPreviewPane(true);
  EXPECT_EQ(notified, 8);
  EXPECT_EQ(refreshed, 7);

  rig.pane.SetPaintLock(true);
  rig.pane.SetCaption("Locked");
  EXPECT_EQ(notified, 9);
  EXPECT_EQ(refreshed, 8);
}

TEST(GraphPaneTest, GraphTypeOutsideTheThreeDrawsNothing) {
  GraphPaneRig rig;
  rig.AddSeries("A", {1.0, 2.0});
  rig.pane.SetGraphType(5);
  EXPECT_TRUE(rig.Log().empty());
}

TEST(GraphPaneTest, BindsOnlyToADataControlOfItsWindow) {
  GraphPaneRig rig;
  EXPECT_EQ(rig.pane.DataSource(), "gdcGraphData");
  GraphPane other(&rig.form, "gpOther");
  rig.pane.SetDataSource("gpOther");
  EXPECT_EQ(rig.pane.DataSource(), "");
  // The caption goes with the error text, centred in the plot.
  const std::vector<std::string> log = rig.Log();
  EXPECT_EQ(testing::Printed(log),
            std::vector<std::string>({"gpGraph", "Error! No Data server control is linked to this graph."}));
  EXPECT_EQ(log.back(), "Print (772.5,2186) 0x80000008 \"Error! No Data server control is linked to this graph.\"");
  EXPECT_EQ(log[log.size() - 2], "Cls 0x8000000F");
  {
    GraphDataControl gone(&rig.form, "gdcGone");
    rig.pane.SetDataSource("GDCGONE");
    EXPECT_EQ(rig.pane.DataSource(), "gdcGone");
  }
  EXPECT_EQ(rig.pane.DataSource(), "");
}

TEST(GraphPaneTest, StoredSettingsRoundTrip) {
  GraphPaneRig rig;
  rig.pane.SetLegend(gpLegendLeft);
  rig.pane.SetCaption("");
  rig.pane.SetLineColor(0x00FF00);
  rig.pane.SetShowCurrent(true);
  rig.pane.SetWindowLength(0.25);
  rig.pane.SetIsPreviewPane(true);
  rig.pane.SetGraphType(gpHiLo);
  CanvasFont bold;
  bold.Bold = true;
  rig.pane.SetGraphFont(bold);
  PropertyBag bag;
  rig.pane.WriteProperties(bag);

  GraphPane copy(&rig.form, "gpCopy");
  EXPECT_EQ(copy.Caption(), "gpCopy");
  copy.ReadProperties(bag);
  EXPECT_EQ(copy.Legend(), gpLegendLeft);
  EXPECT_EQ(copy.Caption(), "");
  EXPECT_EQ(copy.LineColor(), 0x00FF00u);
  EXPECT_TRUE(copy.ShowCurrent());
  EXPECT_EQ(copy.WindowLength(), 0.25);
  EXPECT_TRUE(copy.IsPreviewPane());
  EXPECT_EQ(copy.CheckedGraphType(), gpHiLo);
  EXPECT_TRUE(copy.GraphFont().Bold);
  EXPECT_EQ(copy.DataSource(), "gdcGraphData");
  EXPECT_EQ(copy.BackColor(), 0x80000005u);

  copy.InitProperties();
  PropertyBag fresh;
  copy.WriteProperties(fresh);
  EXPECT_EQ(fresh.Count(), 0u);
}

// After the clock went back an hour the points stamped before the change fill the window, yet the
// current-value mark of every graph type shows the latest reading.
TEST(GraphPaneTest, AfterTheClockWentBackTheCurrentValueIsTheLatestReading) {
  GraphPaneRig rig;
  testing::ScanAcrossAClockSetBack(*rig.data.AddSeries("A", "A long", 0x0000FF), testing::kNow, 5.125, 3.25);
  rig.pane.SetShowCurrent(true);
  for (const gpGraphType type : {gpLine, gpHiLo, gpBar}) {
    SCOPED_TRACE(type);
    rig.pane.SetGraphType(type);
    const std::vector<std::string> printed = testing::Printed(rig.Log());
    // Three decimals, which no axis label has.
    EXPECT_TRUE(testing::Has(printed, "3.25"));
    EXPECT_FALSE(testing::Has(printed, "5.125"));
  }
}

}  // namespace
}  // namespace quendrel

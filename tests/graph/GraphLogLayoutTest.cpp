// The scan window's layout: the minimum size, the split between the tree and the series list, the
// edges and rows the controls line up on, and what a window smaller than the minimum gets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/scan/GraphLogLayout.h"

namespace quendrel {
namespace {

constexpr int kSetup = GraphLogLayout::SetupPage;
constexpr int kDisplay = GraphLogLayout::DisplayPage;

struct SizeCase {
  const char* name;
  int width, height;
  int placedWidth, placedHeight;
};

class GraphLogLayoutSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(GraphLogLayoutSizes, EveryRuleHoldsAtThisSize) {
  const SizeCase& c = GetParam();
  for (int page : {kSetup, kDisplay}) {
    SCOPED_TRACE(page);
    const GraphLogPlacement placed = GraphLogLayout::Place(c.width, c.height, page);
    EXPECT_EQ(placed.Width, c.placedWidth);
    EXPECT_EQ(placed.Height, c.placedHeight);
    const GraphLogRect& tab = placed.tabStrip;
    EXPECT_EQ(tab.Width, c.placedWidth - 120);
    EXPECT_EQ(tab.Height, c.placedHeight - 505);
    EXPECT_EQ(placed.bStartGraph.Left, tab.Width - 1575);
    EXPECT_EQ(placed.bStartGraph.Bottom(), tab.Bottom() - 55);
    EXPECT_LE(placed.bStartGraph.Right(), tab.Right());
    // The status strip lies below the tab control, inside the window, its indicator 160 off its bottom.
    EXPECT_EQ(placed.frameStatic.Top, tab.Bottom());
    EXPECT_LE(placed.frameStatic.Bottom(), placed.Height);
    EXPECT_EQ(placed.lblIndicator.Bottom(), placed.frameStatic.Height - 160);
    EXPECT_LT(placed.lblStatus.Right(), placed.lblIndicator.Left);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, GraphLogLayoutSizes,
                         ::testing::Values(SizeCase{"minimum", 11325, 6000, 11325, 6000},
                                           SizeCase{"large", 19200, 12000, 19200, 12000},
                                           SizeCase{"narrow and tall", 9000, 14000, 11325, 14000},
                                           SizeCase{"tiny", 0, 0, 11325, 6000}),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) ch = ch == ' ' ? '_' : ch;
                           return name;
                         });

TEST(GraphLogLayoutTest, AWideStartCaptionStaysInsideTheTabControl) {
  GraphLogMetrics wide;
  wide.WideButtonWidth = 2000;
  const GraphLogPlacement placed = GraphLogLayout::Place(12000, 8000, kSetup, wide);
  EXPECT_EQ(placed.bStartGraph.Right(), placed.tabStrip.Right() - 120);
  EXPECT_GT(placed.bStartGraph.Left, placed.Setup->bRemoveAll.Right());
}

TEST(GraphLogLayoutTest, OnlyThePageShownIsLaidOut) {
  EXPECT_TRUE(GraphLogLayout::Place(12000, 8000, kSetup).Setup.has_value());
  EXPECT_FALSE(GraphLogLayout::Place(12000, 8000, kSetup).Display.has_value());
  EXPECT_TRUE(GraphLogLayout::Place(12000, 8000, kDisplay).Display.has_value());
  EXPECT_FALSE(GraphLogLayout::Place(12000, 8000, kDisplay).Setup.has_value());
}

TEST(GraphLogLayoutTest, TheSeriesListTakesNineSixteenthsBesideTheTree) {
  for (int width : {11325, 12000, 16001, 25000}) {
    SCOPED_TRACE(width);
    const GraphLogSetupPage page = *GraphLogLayout::Place(width, 9000, kSetup).Setup;
    const int inner = width - 435;
    EXPECT_EQ(page.slbSeries.Width, inner * 9 / 16);
    EXPECT_EQ(page.treePramList.Width + page.slbSeries.Width, inner);
    EXPECT_EQ(page.slbSeries.Left, page.treePramList.Right() + 45);
    EXPECT_EQ(page.slbSeries.Top, page.treePramList.Top);
    EXPECT_EQ(page.slbSeries.Height, page.treePramList.Height);
  }
}

TEST(GraphLogLayoutTest, SetupPageEdgesAndRows) {
  const GraphLogMetrics metrics;
  for (int height : {6000, 9000}) {
    SCOPED_TRACE(height);
    const GraphLogPlacement placed = GraphLogLayout::Place(14000, height, kSetup, metrics);
    const GraphLogSetupPage& page = *placed.Setup;
    const GraphLogRect& tab = placed.tabStrip;
    // Tree and list end 120 above the button row's top as the tab's own height sees it.
    EXPECT_EQ(page.treePramList.Height, tab.Height - page.treePramList.Top - metrics.ButtonHeight - 120);
    EXPECT_LT(page.treePramList.Bottom(), placed.bStartGraph.Top);
    EXPECT_EQ(page.bLogBrowse.Right(), tab.Right() - 120);
    EXPECT_EQ(page.tbLogFile.Right(), page.bLogBrowse.Left - 45);
    EXPECT_EQ(page.tpbProgress.Right(), tab.Right() - 120);
    EXPECT_EQ(page.bRemoveAll.Top, placed.bStartGraph.Top);
    EXPECT_LT(page.bRemoveAll.Right(), placed.bStartGraph.Left);
    // Everything starts below the tabs.
    EXPECT_GE(page.lblDriveAddr.Top, tab.Top + metrics.TabHeaderHeight);
    EXPECT_GT(page.treePramList.Top, page.tpbProgress.Bottom());
    EXPECT_GT(page.tbLogFile.Width, 0);
  }
}

TEST(GraphLogLayoutTest, DisplayPageGraphAndButtonRow) {
  const GraphLogMetrics metrics;
  const GraphLogPlacement placed = GraphLogLayout::Place(15000, 9000, kDisplay, metrics);
  const GraphLogDisplayPage& page = *placed.Display;
  const GraphLogRect& tab = placed.tabStrip;
  EXPECT_EQ(page.gpGraph.Height, tab.Height - 840);
  EXPECT_EQ(page.gpGraph.Width, tab.Width - 120);
  EXPECT_LT(page.gpGraph.Bottom(), placed.bStartGraph.Top);
  GraphLogMetrics tallTabs = metrics;
  tallTabs.TabHeaderHeight = 600;
  const GraphLogPlacement tall = GraphLogLayout::Place(15000, 9000, kDisplay, tallTabs);
  EXPECT_GT(tall.Display->gpGraph.Top, tab.Top + 600);
  EXPECT_LT(tall.Display->gpGraph.Bottom(), tall.bStartGraph.Top);
  for (const GraphLogRect& button : {page.bAdvancedOptions, page.bSaveSnapshot, page.bPrintSnapshot}) {
    EXPECT_EQ(button.Top, placed.bStartGraph.Top);
  }
  // Label and picker share the row; nothing in it runs into the Start button, even at the minimum width.
  EXPECT_GE(page.lblWindowLen.Top, placed.bStartGraph.Top);
  EXPECT_LE(page.tpWindowLen.Bottom(), placed.bStartGraph.Bottom());
  const GraphLogDisplayPage narrow = *GraphLogLayout::Place(0, 0, kDisplay, metrics).Display;
  EXPECT_LT(narrow.bPrintSnapshot.Right(), GraphLogLayout::Place(0, 0, kDisplay, metrics).bStartGraph.Left);
}

TEST(GraphLogLayoutTest, AWindowBelowTheMinimumGetsTheMinimumsLayout) {
  for (int page : {kSetup, kDisplay}) {
    const GraphLogPlacement small = GraphLogLayout::Place(8000, 4000, page);
    const GraphLogPlacement minimum = GraphLogLayout::Place(GraphLogLayout::MinWidth, GraphLogLayout::MinHeight, page);
    EXPECT_EQ(small.tabStrip, minimum.tabStrip);
    EXPECT_EQ(small.bStartGraph, minimum.bStartGraph);
    EXPECT_EQ(small.lblIndicator, minimum.lblIndicator);
    if (page == kSetup) {
      EXPECT_EQ(small.Setup->treePramList, minimum.Setup->treePramList);
      EXPECT_EQ(small.Setup->slbSeries, minimum.Setup->slbSeries);
    } else {
      EXPECT_EQ(small.Display->gpGraph, minimum.Display->gpGraph);
    }
  }
}

TEST(GraphLogLayoutTest, ControlsOfTheSetupPageNeverOverlap) {
  const GraphLogSetupPage page = *GraphLogLayout::Place(0, 0, kSetup).Setup;
  const GraphLogRect all[] = {page.lblDriveAddr, page.tbDriveAddr, page.bConnect,     page.lblLogFile,
                              page.tbLogFile,    page.bLogBrowse,  page.lblScanPeriod, page.tpScanPeriod,
                              page.chkContinuousScan, page.tpbProgress, page.treePramList, page.slbSeries,
                              page.bRemoveAll};
  for (std::size_t i = 0; i < std::size(all); ++i) {
    for (std::size_t j = i + 1; j < std::size(all); ++j) {
      const bool apart = all[i].Right() <= all[j].Left || all[j].Right() <= all[i].Left ||
                         all[i].Bottom() <= all[j].Top || all[j].Bottom() <= all[i].Top;
      EXPECT_TRUE(apart) << i << " and " << j;
    }
  }
}

// The sizes an 8-point DejaVu Sans gives the controls, grown by a factor for larger desktop fonts.
GraphLogMetrics DesktopFont(double factor) {
  GraphLogMetrics m;
  m.TabHeaderHeight = 435;
  m.TextBoxHeight = 330;
  m.ButtonWidth = 1455;
  m.WideButtonWidth = 1740;
  m.OptionsButtonWidth = 2190;
  m.LogLabelWidth = 1170;
  m.WindowLabelWidth = 1350;
  m.SeriesListWidth = 6960;
  using M = GraphLogMetrics;
  for (int M::*size : {&M::TabHeaderHeight, &M::ButtonHeight, &M::TextBoxHeight, &M::LabelHeight, &M::PickerWidth,
                       &M::PickerHeight, &M::ButtonWidth, &M::WideButtonWidth, &M::OptionsButtonWidth,
                       &M::RowLabelWidth, &M::LogLabelWidth, &M::CheckWidth, &M::WindowLabelWidth,
                       &M::AddressWidth, &M::SeriesListWidth}) {
    m.*size = static_cast<int>(m.*size * factor);
  }
  return m;
}

// Every control a page shows, and the Start button that stands in front of both pages.
std::vector<GraphLogRect> Shown(const GraphLogPlacement& placed) {
  std::vector<GraphLogRect> shown = {placed.bStartGraph};
  if (placed.Setup) {
    const GraphLogSetupPage& p = *placed.Setup;
    shown.insert(shown.end(), {p.lblDriveAddr, p.tbDriveAddr, p.bConnect, p.lblLogFile, p.tbLogFile, p.bLogBrowse,
                               p.lblScanPeriod, p.tpScanPeriod, p.chkContinuousScan, p.tpbProgress, p.treePramList,
                               p.slbSeries, p.bRemoveAll});
  }
  if (placed.Display) {
    const GraphLogDisplayPage& p = *placed.Display;
    shown.insert(shown.end(),
                 {p.gpGraph, p.lblWindowLen, p.tpWindowLen, p.bAdvancedOptions, p.bSaveSnapshot, p.bPrintSnapshot});
  }
  return shown;
}

// From the smallest size up, in the desktop's font and larger ones: nothing meets, and the series
// list has the width its columns need.
TEST(GraphLogLayoutTest, NoTwoControlsMeetAtAnySizeFromTheSmallestUp) {
  for (double factor : {1.0, 1.6}) {
    const GraphLogMetrics m = DesktopFont(factor);
    const int smallest = GraphLogLayout::SmallestWidth(m);
    for (int width : {0, smallest + 1, smallest + 7, smallest + 1000, 30000}) {
      for (int page : {kSetup, kDisplay}) {
        SCOPED_TRACE(std::to_string(factor) + " " + std::to_string(width) + " page " + std::to_string(page));
        const GraphLogPlacement placed = GraphLogLayout::Place(width, 0, page, m);
        const std::vector<GraphLogRect> shown = Shown(placed);
        for (std::size_t i = 0; i < shown.size(); ++i) {
          for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const GraphLogRect& a = shown[i];
            const GraphLogRect& b = shown[j];
            const bool apart = a.Right() <= b.Left || b.Right() <= a.Left || a.Bottom() <= b.Top || b.Bottom() <= a.Top;
            EXPECT_TRUE(apart) << i << " meets " << j;
          }
        }
        if (placed.Setup) {
          EXPECT_GE(placed.Setup->slbSeries.Width, m.SeriesListWidth);
        }
      }
    }
  }
}

}  // namespace
}  // namespace quendrel

#include "graph/scan/GraphLogLayout.h"

#include <algorithm>

namespace quendrel {
namespace {

constexpr int kTabLeft = 60;
constexpr int kMargin = 120;  // between the tab control's edges and the controls on its pages
constexpr int kGap = 45;      // between controls that belong together
constexpr int kRowGap = 120;
constexpr int kStatusHeight = 480;
constexpr int kTabChromeWidth = 120;   // the window is this much wider than the tab control
constexpr int kTabChromeHeight = 505;  // and this much taller
constexpr int kStartOffset = 1575;     // the Start button's left edge, from the tab control's width
constexpr int kInnerChrome = 435;      // the window's width less the tree's and the series list's
constexpr int kListRightInset = 210;   // from the series list's right edge to the window's
constexpr int kLogBoxMinWidth = 1500;  // the log file box still shows a short name
constexpr int kListMinHeight = 1200;   // the tree and the series list still show a few rows

// A control of height h centred on a row of height rowHeight starting at top.
int Centred(int top, int rowHeight, int h) { return top + (rowHeight - h) / 2; }

int RowHeight(const GraphLogMetrics& m) { return std::max({m.ButtonHeight, m.TextBoxHeight, m.PickerHeight}); }

// From the Start button's left edge to the window's right edge. A caption wider than the one the
// offset was made for moves the button left, not past the tab's edge.
int StartInset(const GraphLogMetrics& m) {
  return std::max(kTabChromeWidth + kStartOffset, kTabChromeWidth - kTabLeft + kMargin + m.WideButtonWidth);
}

// From the right edge of the controls on a page to the window's right edge.
constexpr int kPageRightInset = kTabChromeWidth - kTabLeft + kMargin;

// The window width that puts a row ending at rowRight a gap before the Start button.
int WidthBeforeStart(int rowRight, const GraphLogMetrics& m) { return rowRight + kRowGap + StartInset(m); }

// The window width whose series list, nine sixteenths of the inner width, is listWidth wide.
int WidthForList(int listWidth) { return (16 * listWidth + 8) / 9 + kInnerChrome; }

}  // namespace

int GraphLogLayout::SmallestWidth(const GraphLogMetrics& m) {
  const int left = kTabLeft + kMargin;
  const int displayRow =
      left + m.WindowLabelWidth + kGap + m.PickerWidth + 2 * kRowGap + 3 * m.OptionsButtonWidth + 2 * kRowGap;
  const int addressRow = left + m.RowLabelWidth + kGap + m.AddressWidth + kGap + m.ButtonWidth;
  const int periodRow = left + m.RowLabelWidth + kGap + m.PickerWidth + kRowGap + m.CheckWidth;
  const int logRow = std::max(addressRow, periodRow) + 2 * kRowGap + m.LogLabelWidth + kGap + kLogBoxMinWidth + kGap +
                     m.ButtonWidth + kPageRightInset;
  // "Remove All" starts at the series list's left edge and ends a gap before the Start button.
  const int listWidth = std::max(m.SeriesListWidth, m.ButtonWidth + kRowGap + StartInset(m) - kListRightInset);
  return std::max({MinWidth, WidthBeforeStart(displayRow, m), logRow, WidthForList(listWidth)});
}

int GraphLogLayout::SmallestHeight(const GraphLogMetrics& m) {
  const int listTop = m.TabHeaderHeight + kRowGap + 2 * (RowHeight(m) + kRowGap);
  return std::max(MinHeight, listTop + kListMinHeight + m.ButtonHeight + 120 + kTabChromeHeight);
}

GraphLogPlacement GraphLogLayout::Place(int width, int height, int page, const GraphLogMetrics& metrics) {
  GraphLogPlacement frame;
  frame.Width = std::max(width, SmallestWidth(metrics));
  frame.Height = std::max(height, SmallestHeight(metrics));
  frame.tabStrip = {kTabLeft, 0, frame.Width - kTabChromeWidth, frame.Height - kTabChromeHeight};
  const int buttonTop = frame.tabStrip.Bottom() - 55 - metrics.ButtonHeight;
  const int startLeft = frame.Width - StartInset(metrics);
  frame.bStartGraph = {startLeft, buttonTop, metrics.WideButtonWidth, metrics.ButtonHeight};
  if (page == DisplayPage) {
    frame.Display = PlaceDisplay(frame, metrics);
  } else {
    frame.Setup = PlaceSetup(frame, metrics);
  }
  PlaceStatus(frame, metrics);
  return frame;
}

GraphLogSetupPage GraphLogLayout::PlaceSetup(const GraphLogPlacement& frame, const GraphLogMetrics& m) {
  GraphLogSetupPage p;
  const GraphLogRect& tab = frame.tabStrip;
  const int left = tab.Left + kMargin;
  const int rowHeight = RowHeight(m);
  const int firstRow = tab.Top + m.TabHeaderHeight + kRowGap;
  const int secondRow = firstRow + rowHeight + kRowGap;

  p.lblDriveAddr = {left, Centred(firstRow, rowHeight, m.LabelHeight), m.RowLabelWidth, m.LabelHeight};
  p.tbDriveAddr = {p.lblDriveAddr.Right() + kGap, Centred(firstRow, rowHeight, m.TextBoxHeight), m.AddressWidth,
                   m.TextBoxHeight};
  p.bConnect = {p.tbDriveAddr.Right() + kGap, Centred(firstRow, rowHeight, m.ButtonHeight), m.ButtonWidth,
                m.ButtonHeight};
  p.lblScanPeriod = {left, Centred(secondRow, rowHeight, m.LabelHeight), m.RowLabelWidth, m.LabelHeight};
  p.tpScanPeriod = {p.tbDriveAddr.Left, Centred(secondRow, rowHeight, m.PickerHeight), m.PickerWidth, m.PickerHeight};
  p.chkContinuousScan = {p.tpScanPeriod.Right() + kRowGap, Centred(secondRow, rowHeight, m.LabelHeight),
                         m.CheckWidth, m.LabelHeight};

  // The log file and the progress bar share a left edge and stretch to the page's right.
  const int rightEdge = tab.Right() - kMargin;
  const int logLeft = std::max(p.bConnect.Right(), p.chkContinuousScan.Right()) + 2 * kRowGap;
  p.bLogBrowse = {rightEdge - m.ButtonWidth, Centred(firstRow, rowHeight, m.ButtonHeight), m.ButtonWidth,
                  m.ButtonHeight};
  p.lblLogFile = {logLeft, Centred(firstRow, rowHeight, m.LabelHeight), m.LogLabelWidth, m.LabelHeight};
  const int logBoxLeft = p.lblLogFile.Right() + kGap;
  p.tbLogFile = {logBoxLeft, Centred(firstRow, rowHeight, m.TextBoxHeight), p.bLogBrowse.Left - kGap - logBoxLeft,
                 m.TextBoxHeight};
  p.tpbProgress = {logLeft, Centred(secondRow, rowHeight, m.TextBoxHeight), rightEdge - logLeft, m.TextBoxHeight};

  // The tree and the series list share what is left of the page above the button row.
  const int inner = frame.Width - kInnerChrome;
  const int listWidth = inner * 9 / 16;
  const int top = secondRow + rowHeight + kRowGap;
  const int height = tab.Height - top - m.ButtonHeight - 120;
  p.treePramList = {left, top, inner - listWidth, height};
  p.slbSeries = {p.treePramList.Right() + kGap, top, listWidth, height};
  p.bRemoveAll = {p.slbSeries.Left, frame.bStartGraph.Top, m.ButtonWidth, m.ButtonHeight};
  return p;
}

GraphLogDisplayPage GraphLogLayout::PlaceDisplay(const GraphLogPlacement& frame, const GraphLogMetrics& m) {
  GraphLogDisplayPage p;
  const GraphLogRect& tab = frame.tabStrip;
  const int rowTop = frame.bStartGraph.Top;
  const int rowHeight = m.ButtonHeight;
  // A tab header taller than the one the heights were made for takes its room from the graph, never
  // from the button row.
  const int graphTop = tab.Top + m.TabHeaderHeight + 20;
  p.gpGraph = {tab.Left + 60, graphTop, tab.Width - 120, std::min(tab.Height - 840, rowTop - 20 - graphTop)};
  p.lblWindowLen = {tab.Left + kMargin, Centred(rowTop, rowHeight, m.LabelHeight), m.WindowLabelWidth, m.LabelHeight};
  p.tpWindowLen = {p.lblWindowLen.Right() + kGap, Centred(rowTop, rowHeight, m.PickerHeight), m.PickerWidth,
                   m.PickerHeight};
  p.bAdvancedOptions = {p.tpWindowLen.Right() + 2 * kRowGap, rowTop, m.OptionsButtonWidth, rowHeight};
  p.bSaveSnapshot = {p.bAdvancedOptions.Right() + kRowGap, rowTop, m.OptionsButtonWidth, rowHeight};
  p.bPrintSnapshot = {p.bSaveSnapshot.Right() + kRowGap, rowTop, m.OptionsButtonWidth, rowHeight};
  return p;
}

// The status strip runs along the window's bottom under the tab control, its indicator at the right.
void GraphLogLayout::PlaceStatus(GraphLogPlacement& frame, const GraphLogMetrics& m) {
  const GraphLogRect& tab = frame.tabStrip;
  frame.frameStatic = {tab.Left, tab.Bottom(), tab.Width, kStatusHeight};
  const int indicatorTop = kStatusHeight - 160 - m.IndicatorSize;
  frame.lblIndicator = {tab.Width - kMargin - m.IndicatorSize, indicatorTop, m.IndicatorSize, m.IndicatorSize};
  frame.lblStatus = {kMargin, Centred(0, kStatusHeight, m.LabelHeight),
                     frame.lblIndicator.Left - kMargin - kMargin, m.LabelHeight};
}

}  // namespace quendrel

// What the hi/lo and the bar graph share: one column (slot) per visible series across the plot,
// the series' summary over the time window, its average or current-value mark, and the column
// labels, rules and axes drawn after all bars.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graph/pane/GraphContext.h"
#include "platform/Canvas.h"

namespace quendrel {

class GraphPane;
class gdSeries;

// Where a series' column lies. Both passes over the series take it from ColumnSlotOf, so the
// labels and ticks of the second pass fall where the bars of the first are.
struct ColumnSlot {
  double Left = 0.0;
  std::int32_t W = 0;       // the bar's part of the slot
  double LabelWidth = 0.0;  // the mark label's room right of the bar
  double BarLeft() const { return Left + 0.1 * W; }
  double BarRight() const { return BarLeft() + 0.8 * W; }
  double Centre() const { return BarLeft() + 0.4 * W; }
  double Right() const { return Left + W + LabelWidth; }
};

// The slot of the k-th of n visible series. Widths are held in 32 bits: one series on a wide
// pane has a slot far beyond 16.
ColumnSlot ColumnSlotOf(const GraphRect& plot, std::int32_t n, std::int32_t k, double labelWidth);

// The raw values (gain not applied) of the points inside the window. The extremes start at
// ±65536 and stay there while the window holds no point.
struct WindowSummary {
  std::size_t Count = 0;
  double Sum = 0.0;
  double High = -65536.0;
  double Low = 65536.0;
  double Average() const { return Count == 0 ? 0.0 : Sum / static_cast<double>(Count); }
};

// Adds the values one at a time, newest first: a sum built in another order differs in its last
// bits, and now and then in a printed average. Without valuesNeeded only Count is set, from the
// points' indices, without visiting them.
WindowSummary SummarizeWindow(const gdSeries& series, double firstTime, bool valuesNeeded);

// The Y of a raw value; the gain always places it, whatever the printed labels include.
inline double ValueY(const GraphContext& ctx, double value, double gain) {
  return ctx.xAxisH - value * gain * ctx.yFactor;
}

// A bar filled in the series' colour inside an outline in the line colour.
void DrawOutlinedBar(Canvas& canvas, const ColumnSlot& slot, double y1, double y2, Color fill,
                     Color outline);

// One visible series as its bar is drawn.
struct ColumnSeries {
  const gdSeries& Series;
  const WindowSummary& Window;
  const ColumnSlot& Slot;
};

using ColumnBarPainter = void (*)(const GraphPane&, Canvas&, const GraphContext&,
                                  const ColumnSeries&);

// How an average or current mark inside the plot looks: a rule across the bar, or a small
// cross on the bar's centre line.
enum class InRangeMark { RuleAcrossBar, SmallCross };

struct ColumnGraphStyle {
  ColumnBarPainter PaintBar = nullptr;
  InRangeMark Mark = InRangeMark::RuleAcrossBar;
  bool UsesExtremes = false;  // the bars need each window's highest and lowest value
};

// The frame, then per visible series its bar and mark, then the columns and axes.
void DrawColumnGraph(const GraphPane& pane, Canvas& canvas, const ColumnGraphStyle& style);

}  // namespace quendrel

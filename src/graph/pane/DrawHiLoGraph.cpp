// The hi/lo/current graph: per visible series a bar from the lowest to the highest value inside
// the time window, with a dot at its most recent value.
#include "graph/data/gdSeries.h"
#include "graph/pane/ColumnGraph.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

// Drawn only while the bar is; a value less than one pixel outside the plot still gets it.
void DrawCurrentValueMarker(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx,
                            const ColumnSeries& column) {
  const GraphRect& plot = ctx.Virtual;
  const double y = ValueY(ctx, column.Series.MostRecentValue(), column.Series.Gain());
  if (!(plot.top - ctx.yPixel < y && y < plot.Bottom + ctx.yPixel)) return;
  const Color line = pane.LineColor();
  SafeLine(canvas, column.Slot.BarLeft(), y, column.Slot.BarRight(), y, line);
  canvas.SetFillStyle(vbFSSolid);
  canvas.SetFillColor(line);
  SafeCircle(canvas, column.Slot.Centre(), y, 2.0 * ctx.xPixel, line);
}

void DrawHiLoBar(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx,
                 const ColumnSeries& column) {
  // Without a point in the window the extremes are only their starting values.
  if (column.Window.Count == 0) return;
  const GraphRect& plot = ctx.Virtual;
  const double upper = plot.top - ctx.yPixel;
  const double lower = plot.Bottom + ctx.yPixel;
  const double gain = column.Series.Gain();
  const double yHigh = ValueY(ctx, column.Window.High, gain);
  const double yLow = ValueY(ctx, column.Window.Low, gain);
  const bool reachesBottom = yHigh <= lower || yLow <= lower;
  const bool reachesTop = yHigh >= upper || yLow >= upper;
  if (!reachesBottom || !reachesTop) return;
  double barTop = yHigh;
  double barBottom = yLow;
  if (yHigh < upper) barTop = plot.top;
  if (yLow < upper) barBottom = plot.top;
  if (yHigh > lower) barTop = plot.Bottom;
  if (yLow > lower) barBottom = plot.Bottom;
  if (yHigh == yLow) {
    barTop -= 2.0 * ctx.yPixel;
    barBottom += 2.0 * ctx.yPixel;
  }
  const ColumnSlot& slot = column.Slot;
  const Color color = column.Series.Color();
  DrawOutlinedBar(canvas, slot, barTop, barBottom, color, pane.LineColor());
  // A bar that runs off the plot shows no closing edge there.
  const double openLeft = slot.BarLeft() + ctx.xPixel;
  if (yHigh < upper) SafeLine(canvas, openLeft, barTop, slot.BarRight(), barTop, color);
  if (yLow > lower) SafeLine(canvas, openLeft, barBottom, slot.BarRight(), barBottom, color);
  DrawCurrentValueMarker(pane, canvas, ctx, column);
}

}  // namespace

void DrawHiLoGraph(const GraphPane& pane, Canvas& canvas) {
  DrawColumnGraph(pane, canvas, {DrawHiLoBar, InRangeMark::RuleAcrossBar, true});
}

}  // namespace quendrel

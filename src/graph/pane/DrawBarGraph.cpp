// The bar graph: per visible series a bar from the zero line to its newest value, whether or not
// that value lies inside the time window.
#include "graph/data/gdSeries.h"
#include "graph/pane/ColumnGraph.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

void DrawValueBar(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx,
                  const ColumnSeries& column) {
  // A series never read has no value to stand for.
  if (column.Series.PointCount() == 0) return;
  const GraphRect& plot = ctx.Virtual;
  const double upper = plot.top - ctx.yPixel;
  const double lower = plot.Bottom + ctx.yPixel;
  const double yValue = ValueY(ctx, column.Series.MostRecentValue(), column.Series.Gain());
  double yBar = yValue;
  if (yValue < upper) yBar = plot.top;
  if (yValue > lower) yBar = plot.Bottom;
  const ColumnSlot& slot = column.Slot;
  const Color color = column.Series.Color();
  const Color line = pane.LineColor();
  DrawOutlinedBar(canvas, slot, ctx.xAxisH, yBar, color, line);
  if (yValue < upper || yValue > lower) {
    // A bar that runs off the plot shows no closing edge there.
    SafeLine(canvas, slot.BarLeft() + ctx.xPixel, yBar, slot.BarRight(), yBar, color);
  } else if (upper < yValue && yValue < lower) {
    // The value's edge once more; on a bound it keeps only its outline.
    SafeLine(canvas, slot.BarLeft(), yBar, slot.BarRight(), yBar, line);
    canvas.SetFillStyle(vbFSSolid);
    canvas.SetFillColor(line);
  }
}

}  // namespace

void DrawBarGraph(const GraphPane& pane, Canvas& canvas) {
  DrawColumnGraph(pane, canvas, {DrawValueBar, InRangeMark::SmallCross, false});
}

}  // namespace quendrel

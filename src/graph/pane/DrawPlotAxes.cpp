// The axes every graph type draws over its series: the left axis with its end ticks, the zero
// label and the zero line.
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

constexpr double kAxisTick = 64.0;

}  // namespace

void DrawPlotAxes(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx) {
  canvas.SetForeColor(pane.TextColor());
  const GraphRect& r = ctx.Virtual;
  const Color line = pane.LineColor();
  SafeLine(canvas, r.Left, r.top, r.Left, r.Bottom, line);
  SafeLine(canvas, r.Left - kAxisTick, r.top, r.Left, r.top, line);
  SafeLine(canvas, r.Left - kAxisTick, r.Bottom, r.Left, r.Bottom, line);
  SafePrintAt(canvas, r.Left - canvas.TextWidth(" 0.0") - kAxisTick,
              ctx.xAxisH - canvas.TextHeight("0.0") / 2.0, "0.0");
  SafeLine(canvas, r.Left, ctx.xAxisH, r.Right, ctx.xAxisH, line);
}

}  // namespace quendrel

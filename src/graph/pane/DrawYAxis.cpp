// Y labels at fixed distances from the zero line, each showing the value found at its height.
#include <algorithm>
#include <cstdint>
#include <string>

#include "foundation/NumberText.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

constexpr double kTick = 64.0;

void RuleAndTick(const GraphPane& pane, Canvas& canvas, const GraphRect& plot, double y) {
  if (pane.YRules()) SafeLine(canvas, plot.Left, y, plot.Right, y, pane.RuleColor());
  SafeLine(canvas, plot.Left - kTick, y, plot.Left, y, pane.LineColor());
}

// Labels stop where one would overlap the range label whose middle lies on the plot's top edge.
void DrawUpperLabels(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx,
                     std::int64_t step) {
  const GraphRect& plot = ctx.Virtual;
  const double height = ctx.xAxisH - plot.top;
  const std::int64_t last = RoundHalfEven(height);
  for (std::int64_t d = step; d <= last; d += step) {
    const std::string label = FormatNumber(d / height * ctx.maxVal, "###0.0");
    const double h = canvas.TextHeight(label);
    const double y = ctx.xAxisH - d;
    if (plot.top + h / 2.0 > y - h / 2.0) return;
    SafePrintAt(canvas, plot.Left - canvas.TextWidth(" " + label) - kTick, y - h / 2.0, label);
    RuleAndTick(pane, canvas, plot, y);
  }
}

void DrawLowerLabels(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx,
                     std::int64_t step) {
  const GraphRect& plot = ctx.Virtual;
  const double height = plot.Bottom - ctx.xAxisH;
  const std::int64_t last = RoundHalfEven(height);
  for (std::int64_t d = step; d <= last; d += step) {
    const std::string label = FormatNumber(d / height * ctx.minVal, "###0.0");
    const double h = canvas.TextHeight(label);
    const double y = ctx.xAxisH + d;
    if (plot.Bottom - h / 2.0 < y + h / 2.0) return;
    // Unlike the upper labels, these end without a space's width before the tick.
    SafePrintAt(canvas, plot.Left - canvas.TextWidth(label) - kTick, y - h / 2.0, label);
    RuleAndTick(pane, canvas, plot, y);
  }
}

}  // namespace

void DrawYAxis(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx) {
  // A font without height would otherwise never leave the loops.
  const std::int64_t step = std::max<std::int64_t>(1, RoundHalfEven(canvas.TextHeight("0") * 1.5));
  DrawUpperLabels(pane, canvas, ctx, step);
  DrawLowerLabels(pane, canvas, ctx, step);
  if (!pane.YRules()) return;
  const GraphRect& plot = ctx.Virtual;
  SafeLine(canvas, plot.Left, plot.top, plot.Right, plot.top, pane.RuleColor());
  SafeLine(canvas, plot.Left, plot.Bottom, plot.Right, plot.Bottom, pane.RuleColor());
}

}  // namespace quendrel

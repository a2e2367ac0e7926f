// Y labels at fixed distances from the zero line, each showing the value found at its height.
#include <algorithm>
#include <cstdint>
#include <string>

#include "foundation/text/NumberText.h"
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

constexpr int kUp = -1;
constexpr int kDown = 1;

// Labels on one side of the zero line; they stop where one would overlap the range label whose
// middle lies on the plot's edge on that side.
void DrawLabels(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx, std::int64_t step,
                int direction) {
  const GraphRect& plot = ctx.Virtual;
  const bool up = direction == kUp;
  const double height = up ? ctx.xAxisH - plot.top : plot.Bottom - ctx.xAxisH;
  const double extreme = up ? ctx.maxVal : ctx.minVal;
  const std::int64_t last = RoundHalfEven(height);
  for (std::int64_t d = step; d <= last; d += step) {
    const std::string label = FormatNumber(d / height * extreme, "###0.0");
    const double h = canvas.TextHeight(label);
    const double y = ctx.xAxisH + direction * static_cast<double>(d);
    const bool overlaps = up ? plot.top + h / 2.0 > y - h / 2.0 : plot.Bottom - h / 2.0 < y + h / 2.0;
    if (overlaps) return;
    // The labels below the zero line end without a space's width before the tick.
    const double width = canvas.TextWidth(up ? " " + label : label);
    SafePrintAt(canvas, plot.Left - width - kTick, y - h / 2.0, label);
    RuleAndTick(pane, canvas, plot, y);
  }
}

}  // namespace

void DrawYAxis(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx) {
  // A font without height would otherwise never leave the loops.
  const std::int64_t step = std::max<std::int64_t>(1, RoundHalfEven(canvas.TextHeight("0") * 1.5));
  DrawLabels(pane, canvas, ctx, step, kUp);
  DrawLabels(pane, canvas, ctx, step, kDown);
  if (!pane.YRules()) return;
  const GraphRect& plot = ctx.Virtual;
  SafeLine(canvas, plot.Left, plot.top, plot.Right, plot.top, pane.RuleColor());
  SafeLine(canvas, plot.Left, plot.Bottom, plot.Right, plot.Bottom, pane.RuleColor());
}

}  // namespace quendrel

// One column per visible series: the bar pass, the value marks and the column pass.
#include "graph/pane/ColumnGraph.h"

#include <string>
#include <vector>

#include "foundation/text/NumberText.h"
#include "graph/data/gdSeries.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/SafeCanvas.h"
#include "graph/pane/WindowWalk.h"

namespace quendrel {
namespace {

constexpr double kHalfTick = 32.0;
constexpr double kLabelGap = 64.0;

enum class MarkKind { None, Average, Current };

struct ColumnMark {
  MarkKind Kind = MarkKind::None;
  double Value = 0.0;  // raw
  std::string Label;
  double LabelWidth = 0.0;
};

// A visible series and the room its mark label took in the bar pass.
struct Column {
  const gdSeries* Series = nullptr;
  double LabelWidth = 0.0;
};

// Measured even when the window holds no point, so that the slot is the same either way.
ColumnMark MarkOf(const GraphPane& pane, const Canvas& canvas, const gdSeries& series,
                  const WindowSummary& window) {
  ColumnMark mark;
  if (pane.ShowAverage()) {
    mark = {MarkKind::Average, window.Average(), "", 0.0};
  } else if (pane.ShowCurrent()) {
    mark = {MarkKind::Current, series.MostRecentValue(), "", 0.0};
  } else {
    return mark;
  }
  const double shown = pane.IncludeGain() ? mark.Value * series.Gain() : mark.Value;
  mark.Label = FormatNumber(shown, "0.0##");
  mark.LabelWidth = canvas.TextWidth(mark.Label);
  return mark;
}

// An arrow in the margin beyond the plot's edge, pointing away from the plot (direction -1 up).
void DrawArrow(Canvas& canvas, const GraphContext& ctx, double cx, double edge, double direction,
               Color fill, Color outline) {
  const double xp = ctx.xPixel;
  const double yp = direction * ctx.yPixel;
  for (const double d : {-2.0, -1.5, -1.0, 0.0, 1.0, 1.5, 2.0}) {
    SafeLine(canvas, cx, edge + 5.0 * yp, cx + d * xp, edge, fill);
  }
  SafeLine(canvas, cx - 2.5 * xp, edge + yp, cx, edge + 6.0 * yp, outline);
  SafeLine(canvas, cx, edge + 6.0 * yp, cx + 2.5 * xp, edge + yp, outline);
  SafeLine(canvas, cx + 2.5 * xp, edge + yp, cx - 2.5 * xp, edge + yp, outline);
}

void DrawInRangeShape(Canvas& canvas, const ColumnSlot& slot, double y, InRangeMark shape,
                      Color line) {
  if (shape == InRangeMark::RuleAcrossBar) {
    SafeLine(canvas, slot.BarLeft(), y, slot.BarRight(), y, line);
    return;
  }
  const double w = slot.W;
  const double cx = slot.Centre();
  SafeLine(canvas, slot.BarLeft() + 0.35 * w, y, slot.BarLeft() + 0.45 * w, y, line);
  SafeLine(canvas, cx, y - 0.03 * w, cx, y + 0.04 * w, line);
}

// The mark's label is printed in the series' colour, still the canvas's foreground colour.
void DrawMark(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx,
              const ColumnSeries& column, const ColumnMark& mark, InRangeMark shape) {
  const GraphRect& plot = ctx.Virtual;
  const double y = ValueY(ctx, mark.Value, column.Series.Gain());
  const Color line = pane.LineColor();
  const Color fill = mark.Kind == MarkKind::Average ? column.Series.Color() : line;
  const double cx = column.Slot.Centre();
  const double h = canvas.TextHeight(mark.Label);
  double labelY = y - h / 2.0;
  if (y < plot.top - ctx.yPixel) {
    DrawArrow(canvas, ctx, cx, plot.top, -1.0, fill, line);
    labelY = plot.top - h / 2.0;
  } else if (y > plot.Bottom + ctx.yPixel) {
    DrawArrow(canvas, ctx, cx, plot.Bottom, 1.0, fill, line);
    labelY = plot.Bottom - h / 2.0;
  } else {
    DrawInRangeShape(canvas, column.Slot, y, shape, line);
    canvas.SetFillStyle(vbFSSolid);
    canvas.SetFillColor(fill);
    SafeCircle(canvas, cx, y, 2.0 * ctx.xPixel, line);
  }
  SafePrintAt(canvas, column.Slot.BarRight() + 2.0 * ctx.xPixel, labelY, mark.Label);
}

const std::string& ColumnTitle(const GraphPane& pane, const gdSeries& series) {
  static const std::string none;
  if (pane.XAxisLabels() == 0) return series.Name();
  if (pane.XAxisLabels() == 1) return series.LongName();
  return none;
}

void DrawColumns(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx,
                 const std::vector<Column>& columns) {
  canvas.SetForeColor(pane.TextColor());
  const GraphRect& plot = ctx.Virtual;
  const auto n = static_cast<std::int32_t>(columns.size());
  for (std::int32_t k = 0; k < n; ++k) {
    const ColumnSlot slot = ColumnSlotOf(plot, n, k, columns[k].LabelWidth);
    const std::string& title = ColumnTitle(pane, *columns[k].Series);
    const double middle = slot.Left + (slot.W + slot.LabelWidth) / 2.0;
    SafePrintAt(canvas, middle - canvas.TextWidth(title) / 2.0, ctx.xAxisH + kLabelGap, title);
    const double x = slot.Right();
    if (pane.XRules()) SafeLine(canvas, x, plot.top, x, plot.Bottom, pane.RuleColor());
    SafeLine(canvas, x, ctx.xAxisH - kHalfTick, x, ctx.xAxisH + kHalfTick, pane.LineColor());
  }
}

std::vector<Column> VisibleColumns(const SeriesCollection& all) {
  std::vector<Column> columns;
  for (const auto& series : all) {
    if (series->Visible()) columns.push_back({series.get(), 0.0});
  }
  return columns;
}

}  // namespace

ColumnSlot ColumnSlotOf(const GraphRect& plot, std::int32_t n, std::int32_t k, double labelWidth) {
  const std::int32_t w0 = RoundHalfEven((static_cast<double>(plot.Right) - plot.Left) / n);
  const std::int32_t w = RoundHalfEven(w0 - labelWidth);
  return {plot.Left + k * (w + labelWidth), w, labelWidth};
}

WindowSummary SummarizeWindow(const gdSeries& series, double firstTime, bool valuesNeeded) {
  if (!valuesNeeded) {
    const SeriesPoints& points = series.Points();
    return {points.Count() - points.LowerBound(firstTime)};
  }
  // Locals, not the record's fields, so that the loop keeps them in registers.
  WindowSummary window;
  double sum = 0.0;
  double high = window.High;
  double low = window.Low;
  std::size_t count = 0;
  VisitWindowNewestFirst(series, firstTime, [&](const SeriesPoint& point) {
    sum += point.Value;
    high = point.Value > high ? point.Value : high;
    low = point.Value < low ? point.Value : low;
    ++count;
  });
  return {count, sum, high, low};
}

void DrawOutlinedBar(Canvas& canvas, const ColumnSlot& slot, double y1, double y2, Color fill,
                     Color outline) {
  SafeFilledBox(canvas, slot.BarLeft(), y1, slot.BarRight(), y2, fill);
  // The inside already has its colour; filling it again would only double the work.
  const int fillStyle = canvas.FillStyle();
  canvas.SetFillStyle(vbFSTransparent);
  SafeBox(canvas, slot.BarLeft(), y1, slot.BarRight(), y2, outline);
  canvas.SetFillStyle(fillStyle);
}

void DrawColumnGraph(const GraphPane& pane, Canvas& canvas, const ColumnGraphStyle& style) {
  if (pane.PaintLock()) return;
  GraphContext ctx;
  if (!DrawGraphFrame(pane, canvas, ctx)) return;
  const SeriesCollection all = pane.SeriesSet();
  std::vector<Column> columns = VisibleColumns(all);
  const auto n = static_cast<std::int32_t>(columns.size());
  const bool valuesNeeded = style.UsesExtremes || pane.ShowAverage();
  for (std::int32_t k = 0; k < n; ++k) {
    const gdSeries& series = *columns[k].Series;
    const WindowSummary window = SummarizeWindow(series, ctx.firstTime, valuesNeeded);
    canvas.SetForeColor(series.Color());
    canvas.SetFillColor(series.Color());
    const ColumnMark mark = MarkOf(pane, canvas, series, window);
    columns[k].LabelWidth = mark.LabelWidth;
    const ColumnSlot slot = ColumnSlotOf(ctx.Virtual, n, k, mark.LabelWidth);
    const ColumnSeries column{series, window, slot};
    style.PaintBar(pane, canvas, ctx, column);
    // No mark without a point in the window: its average or current value would be made up.
    if (mark.Kind != MarkKind::None && window.Count > 0) {
      DrawMark(pane, canvas, ctx, column, mark, style.Mark);
    }
  }
  DrawColumns(pane, canvas, ctx, columns);
  DrawPlotAxes(pane, canvas, ctx);
}

}  // namespace quendrel

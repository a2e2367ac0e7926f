// The frame every graph type shares: caption, outer margins, value range, time window, range
// labels and scales.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

#include "foundation/text/DateText.h"
#include "foundation/text/NumberText.h"
#include "graph/data/gdSeries.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

// 4 July 1776 in calendar-date seconds: older than any real stamp, so the first series wins.
constexpr double kBeforeAnyStamp = -45103.0 * 86400.0;
constexpr double kOuterMargin = 128.0;
constexpr double kLabelGap = 64.0;
constexpr char kNoDataText[] = "Error! No Data server control is linked to this graph.";

void PrintCaption(const GraphPane& pane, Canvas& canvas) {
  canvas.SetCurrentY(0.0f);
  canvas.SetFont(pane.CaptionFont());
  canvas.SetForeColor(pane.TextColor());
  canvas.SetCurrentX(canvas.ScaleWidth() / 2.0f - canvas.TextWidth(pane.Caption()) / 2.0f);
  canvas.Print(pane.Caption());
}

void ShowNoDataText(Canvas& canvas, const GraphRect& plot) {
  canvas.Cls();
  const double x = plot.Left + (static_cast<double>(plot.Right) - plot.Left) / 2.0 -
                   canvas.TextWidth(kNoDataText) / 2.0;
  const double y = plot.top + (static_cast<double>(plot.Bottom) - plot.top) / 2.0 -
                   canvas.TextHeight(kNoDataText) / 2.0;
  SafePrintAt(canvas, x, y, kNoDataText);
}

// The oldest stamp within one window length of the series' own newest point.
double OldestInOwnWindow(const gdSeries& series, double newest, double windowLength) {
  const SeriesPoints& points = series.Points();
  const std::size_t first = points.LowerBound(newest - windowLength);
  return points.At(points.PlaceOf(std::min(first, points.Count() - 1))).Timestamp;
}

// A series whose scaled values leave the doubles (a gain of 1e999 read as the largest double) would
// make the range infinite and blank every series; it stays out of the range, drawn where it fits.
void WidenRangeBySeries(const gdSeries& series, GraphContext& ctx) {
  const double gain = series.Gain();
  const double hi = gain >= 0.0 ? gain * series.maxVal() : gain * series.minVal();
  const double lo = gain >= 0.0 ? gain * series.minVal() : gain * series.maxVal();
  if (!std::isfinite(hi) || !std::isfinite(lo)) return;
  const double maxVal = std::max(ctx.maxVal, hi);
  const double minVal = std::min(ctx.minVal, lo);
  // Two finite extremes may still lie too far apart for a scale.
  if (!std::isfinite(maxVal - minVal)) return;
  ctx.maxVal = maxVal;
  ctx.minVal = minVal;
}

void WidenBySeries(const gdSeries& series, double windowLength, GraphContext& ctx) {
  const double newest = series.maxTime();
  WidenRangeBySeries(series, ctx);
  if (series.PointCount() > 0) {
    const double oldest = OldestInOwnWindow(series, newest, windowLength);
    if (oldest < ctx.firstTime) ctx.firstTime = oldest;
  }
  if (newest > ctx.lastTime) ctx.lastTime = newest;
}

// The scale divides a plot's height by the range, and the Y labels step through that height. A range
// that underflowed (a gain of 1e-310) would make the scale infinite, and the labels would then step
// towards 2^31; such a range is no more usable than a flat one. The test takes the tallest canvas
// there can be, so whether a range is usable never depends on the pane's size.
bool UsableRange(double range) {
  constexpr double kTallestCanvas = static_cast<double>(std::numeric_limits<int>::max()) * TwipsPerPixel;
  return range > 0.0 && std::isfinite(range) && std::isfinite(kTallestCanvas / range);
}

std::string RangeLabel(double value) { return FormatNumber(value, "###0.0").substr(0, 5); }

double LabelRight(const Canvas& canvas, const GraphContext& ctx, const std::string& label) {
  return ctx.Virtual.Left - canvas.TextWidth(" " + label) - kLabelGap;
}

}  // namespace

bool LayoutGraph(const GraphPane& pane, Canvas& canvas, GraphContext& ctx) {
  canvas.Cls();
  ctx.xPixel = Canvas::PixelsToTwipsX(1.0f);
  ctx.yPixel = Canvas::PixelsToTwipsY(1.0f);
  PrintCaption(pane, canvas);
  GraphRect& plot = ctx.Virtual;
  plot.top = RoundHalfEven(canvas.CurrentY() + 5.0 * ctx.yPixel);
  canvas.SetFont(pane.GraphFont());
  plot.Left = static_cast<std::int32_t>(kOuterMargin);
  plot.Right = RoundHalfEven(canvas.ScaleWidth() - kOuterMargin);
  plot.Bottom = RoundHalfEven(canvas.ScaleHeight() - kOuterMargin - 5.0 * ctx.yPixel);
  if (pane.DataControl() == nullptr) {
    ShowNoDataText(canvas, plot);
    return false;
  }
  canvas.SetCurrentY(static_cast<float>(plot.top));
  ctx.maxVal = 0.0;
  ctx.minVal = 0.0;
  ctx.firstTime = NowSeconds() + 1.0;
  ctx.lastTime = kBeforeAnyStamp;
  for (const auto& series : pane.SeriesSet()) {
    if (series->Visible()) WidenBySeries(*series, pane.WindowLength(), ctx);
  }
  if (!UsableRange(ctx.maxVal - ctx.minVal)) {
    ctx.maxVal += 1.0;
    ctx.minVal -= 1.0;
  }
  if (ctx.lastTime == ctx.firstTime) ctx.lastTime += pane.WindowLength() / 2.0;
  ctx.firstTime = ctx.lastTime - pane.WindowLength();
  return true;
}

void DrawRangeLabels(const GraphPane& pane, Canvas& canvas, GraphContext& ctx) {
  GraphRect& plot = ctx.Virtual;
  const std::string maxLabel = RangeLabel(ctx.maxVal);
  const std::string minLabel = RangeLabel(ctx.minVal);
  const double widest = std::max(canvas.TextWidth(maxLabel), canvas.TextWidth(minLabel));
  plot.Left = RoundHalfEven(plot.Left + widest + kLabelGap);
  SafePrintAt(canvas, LabelRight(canvas, ctx, maxLabel), plot.top, maxLabel);
  const double h = canvas.TextHeight(minLabel);
  SafePrintAt(canvas, LabelRight(canvas, ctx, minLabel), plot.Bottom - h, minLabel);
  // The plot's edges run through the middle of the two labels.
  plot.top = RoundHalfEven(plot.top + h / 2.0);
  plot.Bottom = RoundHalfEven(plot.Bottom - h / 2.0);
  if (pane.GraphType() == gpLine) {
    // Room right of the plot for the labels of the value marks.
    const double markLabel = canvas.TextWidth("-00.000") + 8.0 * ctx.xPixel;
    if (pane.ShowAverage()) plot.Right = RoundHalfEven(plot.Right - markLabel);
    if (pane.ShowCurrent()) plot.Right = RoundHalfEven(plot.Right - markLabel);
  }
  const double height = static_cast<double>(plot.Bottom) - plot.top;
  const double width = static_cast<double>(plot.Right) - plot.Left;
  ctx.yFactor = height / (ctx.maxVal - ctx.minVal);
  ctx.xAxisH = ctx.yFactor * ctx.maxVal + plot.top;
  ctx.xFactor = width / (ctx.lastTime - ctx.firstTime);
}

bool DrawGraphFrame(const GraphPane& pane, Canvas& canvas, GraphContext& ctx) {
  if (!LayoutGraph(pane, canvas, ctx)) return false;
  DrawLegend(pane, canvas, ctx);
  DrawRangeLabels(pane, canvas, ctx);
  const GraphRect& plot = ctx.Virtual;
  SafeFilledBox(canvas, plot.Left, plot.top, plot.Right, plot.Bottom, pane.BackColor());
  DrawYAxis(pane, canvas, ctx);
  return true;
}

}  // namespace quendrel

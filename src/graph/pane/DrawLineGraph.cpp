// The line graph: per visible series a chain of dots clipped to the plot band, a tick on the zero
// line at every sample time, optional average and current-value marks, and the axes on top.
#include <cstddef>
#include <string>

#include "foundation/text/NumberText.h"
#include "graph/data/gdSeries.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/ColumnBounds.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/LineColumnDecimator.h"
#include "graph/pane/LinePointCalls.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

using Plot = LinePlot;
using Walked = LinePoint;

// Rules of one pixel column cover the same pixels: a column draws the rule of its first point.
void DrawXRules(const GraphPane& pane, Canvas& canvas, const Plot& plot, LineGraphDetail detail) {
  for (const auto& series : pane.SeriesSet()) {
    if (!series->Visible()) continue;
    ColumnBounds column;  // of the last rule drawn; none at first
    const LineMapping map(plot, series->Gain());
    WalkWindow(*series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
      const double x = map.X(point.Timestamp);
      if (detail == LineGraphDetail::Decimated && Drawable({x})) {
        const auto canvasX = static_cast<float>(x);
        if (column.Holds(canvasX)) return;
        column = ColumnBounds::Of(Canvas::ToPixel(canvasX));
      }
      SafeLine(canvas, x, plot.Top(), x, plot.Bottom(), pane.RuleColor());
    });
  }
}

void Path(Canvas& canvas, std::initializer_list<Walked> points, Color c) {
  const Walked* previous = nullptr;
  for (const Walked& point : points) {
    if (previous != nullptr) SafeLine(canvas, previous->X, previous->Y, point.X, point.Y, c);
    previous = &point;
  }
}

// The open triangle of the average; the current value's mark fills it.
void DrawMarkShape(Canvas& canvas, const Plot& plot, Band band, double ym, bool filled, Color c) {
  const double px = plot.Ctx.xPixel;
  const double py = plot.Ctx.yPixel;
  const double r = plot.Right();
  if (band == Band::Inside) {
    Path(canvas, {{r, ym}, {r + 5 * px, ym - 2.5 * py}, {r + 5 * px, ym + 2.5 * py}, {r, ym}}, c);
    if (!filled) return;
    for (int k = -2; k <= 2; ++k) SafeLine(canvas, r, ym, r + 5 * px, ym + k * py, c);
    return;
  }
  // Above the plot the triangle points up, below it points down.
  const double sign = band == Band::Above ? -1.0 : 1.0;
  const double base = band == Band::Above ? plot.Top() - 10 * py : plot.Bottom() + 10 * py;
  if (!filled) {
    // The closing segment is 6 pixels long and ends one pixel left of the first point.
    Path(canvas, {{r, base}, {r + 2.5 * px, base + sign * 6 * py}, {r + 5 * px, base}, {r - px, base}}, c);
    return;
  }
  const double apex = base + sign * 5 * py;
  Path(canvas, {{r, base}, {r + 2.5 * px, apex}, {r + 5 * px, base}, {r, base}, {r + 5 * px, base + sign * py}}, c);
  for (const double k : {-2.0, -1.5, -1.0, 0.0, 1.0, 1.5, 2.0}) {
    SafeLine(canvas, r + 2.5 * px, apex, r + (2.5 + k) * px, base, c);
  }
}

void DrawMark(const GraphPane& pane, Canvas& canvas, const Plot& plot, const gdSeries& series,
              double m, bool filled) {
  const double ym = plot.Y(m, series.Gain());
  const Band band = plot.Of(ym);
  if (band == Band::OnBound) return;
  const Color c = series.Color();
  DrawMarkShape(canvas, plot, band, ym, filled, c);
  const std::string text = FormatNumber(pane.IncludeGain() ? m * series.Gain() : m, "0.0##");
  const double h = canvas.TextHeight(text);
  double y = ym - h / 2.0;
  if (band == Band::Above) y = plot.Top() - 1.5 * h;
  if (band == Band::Below) y = plot.Bottom() + h / 2.0;
  SafePrintAt(canvas, plot.Right() + 7 * plot.Ctx.xPixel, y, text);
}

void DrawSeries(const GraphPane& pane, Canvas& canvas, const Plot& plot, const gdSeries& series,
                const DotColumns& dot, LineGraphDetail detail) {
  const Color c = series.Color();
  canvas.SetForeColor(c);
  canvas.SetFillColor(c);
  LineColumnDecimator columns(canvas, plot, dot, c, pane.LineColor());
  Walked p;
  double sum = 0.0;
  std::int32_t count = 0;
  const LineMapping map(plot, series.Gain());
  WalkWindow(series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
    sum += point.Value;
    const Walked walked{map.X(point.Timestamp), map.Y(point.Value)};
    canvas.SetFillStyle(vbFSSolid);
    if (detail == LineGraphDetail::Decimated) {
      columns.Add(walked);
    } else {
      DrawLinePoint(canvas, plot, p, walked, c, pane.LineColor());
    }
    p = walked;
    ++count;
  });
  columns.Finish();
  if (count == 0) return;
  if (pane.ShowAverage()) DrawMark(pane, canvas, plot, series, sum / count, false);
  if (pane.ShowCurrent()) DrawMark(pane, canvas, plot, series, series.MostRecentValue(), true);
}

}  // namespace

void DrawLineGraph(const GraphPane& pane, Canvas& canvas, LineGraphDetail detail) {
  if (pane.PaintLock()) return;
  GraphContext ctx;
  if (!DrawGraphFrame(pane, canvas, ctx)) return;
  const Plot plot{ctx};
  if (pane.XRules()) DrawXRules(pane, canvas, plot, detail);
  const DotColumns dot = DotColumns::Measure(static_cast<float>(kLineDotRadius));
  for (const auto& series : pane.SeriesSet()) {
    if (series->Visible()) DrawSeries(pane, canvas, plot, *series, dot, detail);
  }
  DrawPlotAxes(pane, canvas, ctx);
}

}  // namespace quendrel

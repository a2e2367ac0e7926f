// The line graph: per visible series a chain of dots clipped to the plot band, a tick on the zero
// line at every sample time, optional average and current-value marks, and the axes on top.
#include <cstddef>
#include <string>

#include "foundation/NumberText.h"
#include "graph/data/gdSeries.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

constexpr double kDotRadius = 30.0;
constexpr double kHalfTick = 32.0;
constexpr double kAxisTick = 64.0;

enum class Band { Inside, Above, Below, OnBound };

// The plot widened by one pixel above and below; a Y on either bound belongs to no side.
struct Plot {
  const GraphContext& Ctx;
  double Top() const { return Ctx.Virtual.top; }
  double Bottom() const { return Ctx.Virtual.Bottom; }
  double Right() const { return Ctx.Virtual.Right; }
  Band Of(double y) const {
    const double upper = Top() - Ctx.yPixel;
    const double lower = Bottom() + Ctx.yPixel;
    if (upper < y && y < lower) return Band::Inside;
    if (y < upper) return Band::Above;
    if (y > lower) return Band::Below;
    return Band::OnBound;
  }
  double X(double t) const {
    const double width = static_cast<double>(Ctx.Virtual.Right) - Ctx.Virtual.Left;
    return Ctx.Virtual.Left + width * (t - Ctx.firstTime) / (Ctx.lastTime - Ctx.firstTime);
  }
  double Y(double value, double gain) const { return Ctx.xAxisH - value * gain * Ctx.yFactor; }
};

struct Walked {
  double X = 0.0;
  double Y = 0.0;
};

// The points of the window, newest first: the walk starts at a binary search for its oldest.
template <typename Visit>
void WalkWindow(const gdSeries& series, double firstTime, Visit visit) {
  const SeriesPoints& points = series.Points();
  const std::size_t first = points.LowerBound(firstTime);
  if (first == points.Count()) return;
  SeriesPointPlace place = points.Last();
  for (std::size_t left = points.Count() - first; left > 0; --left) {
    visit(points.At(place));
    points.StepBack(place);
  }
}

void DrawXRules(const GraphPane& pane, Canvas& canvas, const Plot& plot) {
  for (const auto& series : pane.SeriesSet()) {
    if (!series->Visible()) continue;
    WalkWindow(*series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
      const double x = plot.X(point.Timestamp);
      SafeLine(canvas, x, plot.Top(), x, plot.Bottom(), pane.RuleColor());
    });
  }
}

// The segment to a point inside the band from the next newer point P.
void SegmentInto(Canvas& canvas, const Plot& plot, const Walked& p, double x, double y, Color c) {
  switch (plot.Of(p.Y)) {
    case Band::Inside:
      SafeLine(canvas, p.X, p.Y, x, y, c);
      break;
    case Band::Above:
      SafeLine(canvas, p.X + (x - p.X) * (plot.Top() - p.Y) / (y - p.Y), plot.Top(), x, y, c);
      break;
    case Band::Below:
      SafeLine(canvas, p.X + (x - p.X) * (p.Y - plot.Bottom()) / (p.Y - y), plot.Bottom(), x, y, c);
      break;
    case Band::OnBound:
      break;
  }
}

void DrawPoint(const GraphPane& pane, Canvas& canvas, const Plot& plot, const Walked& p,
               double x, double y, Color c) {
  canvas.SetFillStyle(vbFSSolid);
  const Band band = plot.Of(y);
  const bool hasPrevious = p.X != 0.0;
  if (band == Band::Inside) {
    SafeCircle(canvas, x, y, kDotRadius, c);
    if (hasPrevious) SegmentInto(canvas, plot, p, x, y, c);
  } else if (hasPrevious && plot.Of(p.Y) == Band::Inside) {
    // The segment leaving the band ends straight above or below the outer point.
    if (band == Band::Below) SafeLine(canvas, p.X, p.Y, x, plot.Bottom(), c);
    if (band == Band::Above) SafeLine(canvas, p.X, p.Y, x, plot.Top(), c);
  }
  const double axis = plot.Ctx.xAxisH;
  SafeLine(canvas, x, axis - kHalfTick, x, axis + kHalfTick, pane.LineColor());
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

void DrawSeries(const GraphPane& pane, Canvas& canvas, const Plot& plot, const gdSeries& series) {
  const Color c = series.Color();
  canvas.SetForeColor(c);
  canvas.SetFillColor(c);
  Walked p;
  double sum = 0.0;
  std::int32_t count = 0;
  WalkWindow(series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
    sum += point.Value;
    const double y = plot.Y(point.Value, series.Gain());
    const double x = plot.X(point.Timestamp);
    DrawPoint(pane, canvas, plot, p, x, y, c);
    p = {x, y};
    ++count;
  });
  if (count == 0) return;
  if (pane.ShowAverage()) DrawMark(pane, canvas, plot, series, sum / count, false);
  if (pane.ShowCurrent()) DrawMark(pane, canvas, plot, series, series.MostRecentValue(), true);
}

void DrawAxes(const GraphPane& pane, Canvas& canvas, const GraphContext& ctx) {
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

}  // namespace

void DrawLineGraph(const GraphPane& pane, Canvas& canvas) {
  if (pane.PaintLock()) return;
  GraphContext ctx;
  if (!DrawGraphFrame(pane, canvas, ctx)) return;
  const Plot plot{ctx};
  if (pane.XRules()) DrawXRules(pane, canvas, plot);
  for (const auto& series : pane.SeriesSet()) {
    if (series->Visible()) DrawSeries(pane, canvas, plot, *series);
  }
  DrawAxes(pane, canvas, ctx);
}

}  // namespace quendrel

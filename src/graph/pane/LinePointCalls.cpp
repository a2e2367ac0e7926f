#include "graph/pane/LinePointCalls.h"

#include <cmath>

#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

// The X where the segment from P outside the band crosses the band's edge. A P whose value went
// beyond the doubles (a series left out of the range) lies infinitely far off: the segment is
// upright and crosses straight above or below the point.
double EdgeCrossingX(const LinePoint& p, const LinePoint& point, double edge) {
  if (!std::isfinite(p.Y)) return point.X;
  return p.X + (point.X - p.X) * (edge - p.Y) / (point.Y - p.Y);
}

}  // namespace

void DrawSegmentInto(Canvas& canvas, const LinePlot& plot, const LinePoint& p,
                     const LinePoint& point, Color color) {
  const double x = point.X;
  const double y = point.Y;
  switch (plot.Of(p.Y)) {
    case Band::Inside:
      SafeLine(canvas, p.X, p.Y, x, y, color);
      break;
    case Band::Above:
      SafeLine(canvas, EdgeCrossingX(p, point, plot.Top()), plot.Top(), x, y, color);
      break;
    case Band::Below:
      SafeLine(canvas, EdgeCrossingX(p, point, plot.Bottom()), plot.Bottom(), x, y, color);
      break;
    case Band::OnBound:
      break;
  }
}

void DrawSegmentOut(Canvas& canvas, const LinePlot& plot, const LinePoint& p,
                    const LinePoint& point, Band band, Color color) {
  if (p.X == 0.0 || plot.Of(p.Y) != Band::Inside) return;
  if (band == Band::Below) SafeLine(canvas, p.X, p.Y, point.X, plot.Bottom(), color);
  if (band == Band::Above) SafeLine(canvas, p.X, p.Y, point.X, plot.Top(), color);
}

void DrawSampleTick(Canvas& canvas, const LinePlot& plot, double x, Color tickColor) {
  const double axis = plot.Ctx.xAxisH;
  SafeLine(canvas, x, axis - kLineHalfTick, x, axis + kLineHalfTick, tickColor);
}

void DrawLinePoint(Canvas& canvas, const LinePlot& plot, const LinePoint& p,
                   const LinePoint& point, Color color, Color tickColor) {
  const Band band = plot.Of(point.Y);
  if (band == Band::Inside) {
    SafeCircle(canvas, point.X, point.Y, kLineDotRadius, color);
    if (p.X != 0.0) DrawSegmentInto(canvas, plot, p, point, color);
  } else {
    DrawSegmentOut(canvas, plot, p, point, band, color);
  }
  DrawSampleTick(canvas, plot, point.X, tickColor);
}

}  // namespace quendrel

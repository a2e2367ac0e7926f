#include "graph/pane/LinePointCalls.h"

#include <cmath>

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

void DrawSegmentInto(LineCalls& calls, const LinePlot& plot, const LinePoint& p,
                     const LinePoint& point, Color color) {
  const double x = point.X;
  const double y = point.Y;
  switch (plot.Of(p.Y)) {
    case Band::Inside:
      calls.Line(p.X, p.Y, x, y, color);
      break;
    case Band::Above:
      calls.Line(EdgeCrossingX(p, point, plot.Top()), plot.Top(), x, y, color);
      break;
    case Band::Below:
      calls.Line(EdgeCrossingX(p, point, plot.Bottom()), plot.Bottom(), x, y, color);
      break;
    case Band::OnBound:
      break;
  }
}

void DrawSegmentOut(LineCalls& calls, const LinePlot& plot, const LinePoint& p,
                    const LinePoint& point, Band band, Color color) {
  if (p.X == 0.0 || plot.Of(p.Y) != Band::Inside) return;
  if (band == Band::Below) calls.Line(p.X, p.Y, point.X, plot.Bottom(), color);
  if (band == Band::Above) calls.Line(p.X, p.Y, point.X, plot.Top(), color);
}

void DrawSampleTick(LineCalls& calls, const LinePlot& plot, double x, Color tickColor) {
  const double axis = plot.Ctx.xAxisH;
  calls.Line(x, axis - kLineHalfTick, x, axis + kLineHalfTick, tickColor);
}

void DrawLinePoint(LineCalls& calls, const LinePlot& plot, const LinePoint& p,
                   const LinePoint& point, Color color, Color tickColor) {
  const Band band = plot.Of(point.Y);
  if (band == Band::Inside) {
    calls.Circle(point.X, point.Y, kLineDotRadius, color);
    if (p.X != 0.0) DrawSegmentInto(calls, plot, p, point, color);
  } else {
    DrawSegmentOut(calls, plot, p, point, band, color);
  }
  DrawSampleTick(calls, plot, point.X, tickColor);
}

}  // namespace quendrel

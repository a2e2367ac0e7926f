#include "graph/pane/LinePointCalls.h"

#include "graph/pane/SafeCanvas.h"

namespace quendrel {

void DrawSegmentInto(Canvas& canvas, const LinePlot& plot, const LinePoint& p,
                     const LinePoint& point, Color color) {
  const double x = point.X;
  const double y = point.Y;
  switch (plot.Of(p.Y)) {
    case Band::Inside:
      SafeLine(canvas, p.X, p.Y, x, y, color);
      break;
    case Band::Above:
      SafeLine(canvas, p.X + (x - p.X) * (plot.Top() - p.Y) / (y - p.Y), plot.Top(), x, y, color);
      break;
    case Band::Below:
      SafeLine(canvas, p.X + (x - p.X) * (p.Y - plot.Bottom()) / (p.Y - y), plot.Bottom(), x, y,
               color);
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

// The line graph's geometry: where a sample lands on the canvas and on which side of the plot's
// band it falls, shared by the drawing of every point and by its column-by-column shortcut.
#pragma once

#include <cstddef>

#include "graph/data/gdSeries.h"
#include "graph/pane/GraphContext.h"

namespace quendrel {

inline constexpr double kLineDotRadius = 30.0;
inline constexpr double kLineHalfTick = 32.0;

enum class Band { Inside, Above, Below, OnBound };

// The plot widened by one pixel above and below; a Y on either bound belongs to no side.
struct LinePlot {
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
  // Kept in this order of operations: a scale worked out in advance moves some points into the
  // neighbouring pixel column.
  double X(double t) const {
    const double width = static_cast<double>(Ctx.Virtual.Right) - Ctx.Virtual.Left;
    return Ctx.Virtual.Left + width * (t - Ctx.firstTime) / (Ctx.lastTime - Ctx.firstTime);
  }
  double Y(double value, double gain) const { return Ctx.xAxisH - value * gain * Ctx.yFactor; }
};

// A drawn point in canvas units; an X of 0 means there is none.
struct LinePoint {
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

}  // namespace quendrel

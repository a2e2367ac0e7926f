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

// A Y on either bound belongs to no side.
struct BandBounds {
  double Upper = 0.0;
  double Lower = 0.0;
  Band Of(double y) const {
    if (Upper < y && y < Lower) return Band::Inside;
    if (y < Upper) return Band::Above;
    if (y > Lower) return Band::Below;
    return Band::OnBound;
  }
};

struct LinePlot {
  const GraphContext& Ctx;
  double Top() const { return Ctx.Virtual.top; }
  double Bottom() const { return Ctx.Virtual.Bottom; }
  double Right() const { return Ctx.Virtual.Right; }
  // The plot widened by one pixel above and below.
  BandBounds Bounds() const { return {Top() - Ctx.yPixel, Bottom() + Ctx.yPixel}; }
  Band Of(double y) const { return Bounds().Of(y); }
  // Kept in this order of operations: a scale worked out in advance moves some points into the
  // neighbouring pixel column.
  double X(double t) const {
    const double width = static_cast<double>(Ctx.Virtual.Right) - Ctx.Virtual.Left;
    return Ctx.Virtual.Left + width * (t - Ctx.firstTime) / (Ctx.lastTime - Ctx.firstTime);
  }
  double Y(double value, double gain) const { return Ctx.xAxisH - value * gain * Ctx.yFactor; }
};

// X and Y of a series' points with the plot's numbers held in registers for the walk; the same
// operations in the same order as LinePlot's.
struct LineMapping {
  LineMapping(const LinePlot& plot, double gain)
      : left(plot.Ctx.Virtual.Left),
        width(static_cast<double>(plot.Ctx.Virtual.Right) - plot.Ctx.Virtual.Left),
        firstTime(plot.Ctx.firstTime),
        duration(plot.Ctx.lastTime - plot.Ctx.firstTime),
        axis(plot.Ctx.xAxisH),
        gain(gain),
        yFactor(plot.Ctx.yFactor) {}
  double X(double t) const { return left + width * (t - firstTime) / duration; }
  double Y(double value) const { return axis - value * gain * yFactor; }

  double left;
  double width;
  double firstTime;
  double duration;
  double axis;
  double gain;
  double yFactor;
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
  points.VisitBackTo(points.LowerBound(firstTime), visit);
}
// The same as runs of points side by side, each oldest first, the newest run first.
template <typename VisitRun>
void WalkWindowRuns(const gdSeries& series, double firstTime, VisitRun visit) {
  const SeriesPoints& points = series.Points();
  points.VisitRunsBackTo(points.LowerBound(firstTime), visit);
}

}  // namespace quendrel

#include "graph/pane/LineColumnDecimator.h"

#include "graph/pane/LinePointCalls.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

// The pixel row or column of a canvas coordinate.
int PixelOf(double twips) { return Canvas::ToPixel(static_cast<float>(twips)); }

}  // namespace

LineColumnDecimator::LineColumnDecimator(LineCalls& calls, const LinePlot& plot,
                                         const DotColumns& dot, const ColumnBoundsTable& columns,
                                         Color color, Color tickColor)
    : calls_(calls),
      plot_(plot),
      columns_(columns),
      color_(color),
      tickColor_(tickColor),
      band_(plot.Bounds()),
      // A centre inside the band lies on these rows or between them.
      coverage_(dot, PixelOf(band_.Upper), PixelOf(band_.Lower)),
      bandNear_(Drawable({band_.Upper, band_.Lower})) {}

void LineColumnDecimator::Add(std::span<const LinePoint> points) {
  std::size_t i = 0;
  while (i < points.size()) {
    i += AddDense(points.subspan(i));
    if (i < points.size()) AddOne(points[i++]);
  }
}

bool LineColumnDecimator::DenseCanFollow() const {
  return denseColumn_ && count_ > 1 && previous_.Where == Band::Inside &&
         previous_.Point.X != 0.0 && Drawable({previous_.Point.Y}) &&
         coverage_.OnRun(previous_.Row);
}

// The loop trusts the column and the band to keep out what the canvas cannot take: a point in
// a column well inside the canvas's reach, and not at X 0, which counts as no point for the
// segment from it; a point inside a band that lies within that reach.
std::size_t LineColumnDecimator::AddDense(std::span<const LinePoint> points) {
  if (!DenseCanFollow()) return 0;
  const ColumnBounds bounds = bounds_;
  const BandBounds band = band_;
  const auto rowAt = [&](std::size_t i) {
    const LinePoint& point = points[i];
    if (!bounds.Holds(static_cast<float>(point.X))) return ColumnCoverage::kNoRow;
    if (!(band.Upper < point.Y && point.Y < band.Lower)) return ColumnCoverage::kNoRow;
    return PixelOf(point.Y);
  };
  const std::size_t n = coverage_.AddRunOfDots(previous_.Row, points.size(), rowAt);
  if (n == 0) return 0;
  count_ += static_cast<int>(n);
  previous_ = {points[n - 1], Band::Inside, rowAt(n - 1)};
  return n;
}

// One point by the rules of its column, which it may start.
void LineColumnDecimator::AddOne(const LinePoint& point) {
  const Band where = band_.Of(point.Y);
  const Placed placed{point, where, where == Band::Inside ? PixelOf(point.Y) : 0};
  if (count_ > 1 && Drawable({point.X}) && bounds_.Holds(static_cast<float>(point.X))) {
    Merge(placed, true);
    ++count_;
    previous_ = placed;
    return;
  }
  AddSlowly(placed);
}

void LineColumnDecimator::AddSlowly(const Placed& placed) {
  const LinePoint& point = placed.Point;
  if (!Drawable({point.X})) {
    // No pixel column: nothing of it reaches the canvas but what its own calls draw.
    Finish();
    DrawLinePoint(calls_, plot_, previous_.Point, point, color_, tickColor_);
    previous_ = placed;
    return;
  }
  const int column = PixelOf(point.X);
  if (count_ > 0 && column != column_) DrawColumn();
  if (count_ == 0) {
    StartColumn(column);
    first_ = placed;
    beforeFirst_ = previous_.Point;
  } else {
    if (count_ == 1) Merge(first_, false);
    Merge(placed, true);
  }
  ++count_;
  previous_ = placed;
}

void LineColumnDecimator::StartColumn(int column) {
  column_ = column;
  bounds_ = columns_.Of(column);
  // A float in the column rounds from a double short of the canvas's reach.
  constexpr float kNear = static_cast<float>(kFarTwips) - 16.0f;
  denseColumn_ = bandNear_ && bounds_.Low >= -kNear && bounds_.High <= kNear &&
                 !bounds_.Holds(0.0f);
}

void LineColumnDecimator::Finish() {
  if (count_ > 0) DrawColumn();
}

// One point of a column of several: its dot and an in-band segment from a point of the same
// column go to the column's spans; the other segments are drawn as they are.
void LineColumnDecimator::Merge(const Placed& placed, bool previousInColumn) {
  const LinePoint& p = previousInColumn ? previous_.Point : beforeFirst_;
  const LinePoint& point = placed.Point;
  if (placed.Where != Band::Inside) {
    DrawSegmentOut(calls_, plot_, p, point, placed.Where, color_);
    return;
  }
  const int row = placed.Row;
  const bool spans = Drawable({point.Y}) && coverage_.Holds(row);
  if (spans) {
    coverage_.AddDot(row);
  } else {
    calls_.Circle(point.X, point.Y, kLineDotRadius, color_);
  }
  if (p.X == 0.0) return;
  const int previousRow = previous_.Row;
  const bool verticalRun = previousInColumn && spans && previous_.Where == Band::Inside &&
                           Drawable({p.Y}) && coverage_.Holds(previousRow);
  if (!verticalRun) {
    DrawSegmentInto(calls_, plot_, p, point, color_);
    return;
  }
  coverage_.AddRun(previousRow, row);
}

// Ticks of one column cover the same pixels, and the last one is drawn after every dot and
// segment of the column: the column's spans come first, then its tick once.
void LineColumnDecimator::DrawColumn() {
  if (count_ == 1) {
    DrawLinePoint(calls_, plot_, beforeFirst_, first_.Point, color_, tickColor_);
  } else {
    spans_.clear();
    coverage_.TakeSpans(column_, spans_);
    calls_.ColumnSpans(spans_, color_);
    DrawSampleTick(calls_, plot_, first_.Point.X, tickColor_);
  }
  count_ = 0;
}

}  // namespace quendrel

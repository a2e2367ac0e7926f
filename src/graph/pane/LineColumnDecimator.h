// Draws one series of the line graph column by column of device pixels: a column holding one
// point gets exactly that point's own canvas calls; a column holding more gets their dots and
// the runs between them as vertical spans, the segments into it from the next column and across
// the band's edge as their own calls, and its tick once. The picture is the same, pixel for
// pixel, while the number of calls follows the pane's width rather than the number of points.
#pragma once

#include <cmath>
#include <vector>

#include "graph/pane/ColumnBounds.h"
#include "graph/pane/ColumnBoundsTable.h"
#include "graph/pane/ColumnCoverage.h"
#include "graph/pane/DotColumns.h"
#include "graph/pane/LineCalls.h"
#include "graph/pane/LinePlot.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {

class LineColumnDecimator {
 public:
  LineColumnDecimator(LineCalls& calls, const LinePlot& plot, const DotColumns& dot,
                      const ColumnBoundsTable& columns, Color color, Color tickColor);

  // The series' points in walk order, newest first. Most points join the column of the point
  // before them, which is kept short enough to run inside the walk.
  void Add(const LinePoint& point) {
    const Band where = band_.Of(point.Y);
    const int row = where == Band::Inside ? Canvas::ToPixel(static_cast<float>(point.Y)) : 0;
    const Placed placed{point, where, row};
    const float x = static_cast<float>(point.X);
    if (count_ > 1 && std::fabs(point.X) <= kFarTwips && bounds_.Holds(x)) {
      if (InBandRun(placed)) {
        coverage_.AddDot(placed.Row);
        AddRunFromPrevious(placed.Row);
      } else {
        Merge(placed, true);
      }
      ++count_;
      previous_ = placed;
      return;
    }
    AddSlowly(placed);
  }
  // Draws the last column.
  void Finish();

 private:
  struct Placed {
    LinePoint Point;
    Band Where = Band::OnBound;
    int Row = 0;  // of a point inside the band
  };

  // Both this point and the one before it in the column are inside the band and on rows the
  // coverage holds: a dot and a vertical run.
  bool InBandRun(const Placed& placed) const {
    return placed.Where == Band::Inside && previous_.Where == Band::Inside &&
           previous_.Point.X != 0.0 && std::fabs(placed.Point.Y) <= kFarTwips &&
           std::fabs(previous_.Point.Y) <= kFarTwips && coverage_.Holds(placed.Row) &&
           coverage_.Holds(previous_.Row);
  }
  void AddRunFromPrevious(int row) { coverage_.AddRun(previous_.Row, row); }
  void AddSlowly(const Placed& placed);
  void StartColumn(int column);
  void Merge(const Placed& placed, bool previousInColumn);
  void DrawColumn();

  LineCalls& calls_;
  const LinePlot& plot_;
  const ColumnBoundsTable& columns_;
  Color color_;
  Color tickColor_;
  BandBounds band_;
  ColumnCoverage coverage_;
  std::vector<PixelColumnSpan> spans_;
  Placed previous_;  // P, the next newer point
  // The column's first point and its P, drawn as they are while it stays alone.
  Placed first_;
  LinePoint beforeFirst_;
  int column_ = 0;
  ColumnBounds bounds_;
  int count_ = 0;
};

}  // namespace quendrel

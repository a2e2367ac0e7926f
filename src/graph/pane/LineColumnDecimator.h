// Draws one series of the line graph column by column of device pixels: a column holding one
// point gets exactly that point's own canvas calls; a column holding more gets their dots and
// the runs between them as vertical spans, the segments into it from the next column and across
// the band's edge as their own calls, and its tick once. The picture is the same, pixel for
// pixel, while the number of calls follows the pane's width rather than the number of points.
#pragma once

#include <span>
#include <vector>

#include "graph/pane/ColumnBounds.h"
#include "graph/pane/ColumnBoundsTable.h"
#include "graph/pane/ColumnCoverage.h"
#include "graph/pane/DotColumns.h"
#include "graph/pane/LineCalls.h"
#include "graph/pane/LinePlot.h"

namespace quendrel {

class LineColumnDecimator {
 public:
  LineColumnDecimator(LineCalls& calls, const LinePlot& plot, const DotColumns& dot,
                      const ColumnBoundsTable& columns, Color color, Color tickColor);

  // The series' points in walk order, newest first, as many at a time as the caller has.
  void Add(std::span<const LinePoint> points);
  // Draws the last column.
  void Finish();

 private:
  struct Placed {
    LinePoint Point;
    Band Where = Band::OnBound;
    int Row = 0;  // of a point inside the band
  };

  // Nearly every point of a dense window stays in the column, inside the band, after a point
  // of the column joined to the run there: a dot and a vertical run each. Takes such points
  // from the front, in a loop with nothing but arithmetic in it, and says how many.
  std::size_t AddDense(std::span<const LinePoint> points);
  // The dense loop may go on from the last point: it lies in the column, inside the band, on
  // the column's run.
  bool DenseCanFollow() const;
  void AddOne(const LinePoint& point);
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
  bool bandNear_;  // the band lies within the canvas's reach
  bool denseColumn_ = false;  // the dense loop may run in the column
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

// One line-graph series' walk over its window: the calls of its dots, segments and ticks, and
// the sum and count of its values for the average mark. A walk touches nothing but its series,
// the plot and its own calls, so the series of one repaint can be walked side by side.
#pragma once

#include <cstdint>

#include "graph/data/gdSeries.h"
#include "graph/pane/ColumnBoundsTable.h"
#include "graph/pane/DotColumns.h"
#include "graph/pane/LineCalls.h"
#include "graph/pane/LinePlot.h"

namespace quendrel {

struct LineSeriesTotals {
  double Sum = 0.0;  // of the raw values, newest first
  std::int32_t Count = 0;
};

// What the walks of one repaint share to draw a device column at a time.
struct LineColumnsShared {
  const DotColumns& Dot;
  const ColumnBoundsTable& Columns;
  Color TickColor;
};

// A series walked a column at a time, its calls kept.
struct LineSeriesColumns {
  LineCalls Lines;
  LineSeriesTotals Totals;
};
void WalkLineSeriesColumns(const LinePlot& plot, const gdSeries& series,
                           const LineColumnsShared& shared, LineSeriesColumns& out);

// Every point's own calls.
LineSeriesTotals WalkLineSeriesPoints(LineCalls& calls, const LinePlot& plot,
                                      const gdSeries& series, Color tickColor);

}  // namespace quendrel

// One line-graph series' walk over its window: the calls of its dots, segments and ticks, and
// the sum and count of its values for the average mark. A walk touches nothing but its series,
// the plot and its calls, so the series of one repaint can be walked side by side.
#pragma once

#include <cstdint>

#include "graph/data/gdSeries.h"
#include "graph/pane/ColumnBoundsTable.h"
#include "graph/pane/DotColumns.h"
#include "graph/pane/LineCalls.h"
#include "graph/pane/LinePlot.h"

namespace quendrel {

// What a walk shares with the other walks of a repaint to draw a column of pixels at a time.
struct LineDecimation {
  const DotColumns& Dot;
  const ColumnBoundsTable& Columns;
};

struct LineSeriesTotals {
  double Sum = 0.0;  // of the raw values, newest first
  std::int32_t Count = 0;
};

// Every point's own calls when decimation is null.
LineSeriesTotals WalkLineSeries(LineCalls& calls, const LinePlot& plot, const gdSeries& series,
                                Color tickColor, const LineDecimation* decimation);

}  // namespace quendrel

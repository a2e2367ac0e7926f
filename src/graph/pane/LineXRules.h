// The X rules of one line-graph series: an upright line across the plot at every sample time of
// the window.
#pragma once

#include "graph/data/gdSeries.h"
#include "graph/pane/ColumnBoundsTable.h"
#include "graph/pane/LineCalls.h"
#include "graph/pane/LinePlot.h"

namespace quendrel {

// One line per point.
void AddEveryXRule(LineCalls& calls, const LinePlot& plot, const gdSeries& series,
                   Color ruleColor);

// The rules of one device column cover the same pixels and are drawn once: a column holding one
// sample draws its own line, and the columns holding more come last as the spans of one call,
// since only rules in one colour are drawn in between.
void AddXRuleColumns(LineCalls& calls, const LinePlot& plot, const gdSeries& series,
                     const ColumnBoundsTable& columns, Color ruleColor);

}  // namespace quendrel

// The X rules of one line-graph series: an upright line across the plot at every sample time of
// the window.
#pragma once

#include <span>
#include <vector>

#include "graph/data/gdSeries.h"
#include "graph/pane/ColumnBounds.h"
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
class XRuleColumns {
 public:
  XRuleColumns(LineCalls& calls, const LinePlot& plot, const ColumnBoundsTable& columns,
               Color color)
      : calls_(calls), plot_(plot), columns_(columns), color_(color) {}

  // The points in walk order, newest first.
  void Add(std::span<const LinePoint> points);
  void Finish();

 private:
  void StartColumn(double x);
  void DrawColumn();

  LineCalls& calls_;
  const LinePlot& plot_;
  const ColumnBoundsTable& columns_;
  Color color_;
  ColumnBounds bounds_;  // of the column of the last rule; none at first
  int column_ = 0;
  double x_ = 0.0;  // of the column's first rule
  int count_ = 0;
  std::vector<PixelColumnSpan> spans_;
};

}  // namespace quendrel

#include "graph/pane/LineSeriesWalk.h"

#include "graph/pane/LineColumnDecimator.h"
#include "graph/pane/LinePointCalls.h"

namespace quendrel {

LineSeriesTotals WalkLineSeries(LineCalls& calls, const LinePlot& plot, const gdSeries& series,
                                Color tickColor, const LineDecimation* decimation) {
  const Color color = series.Color();
  const LineMapping map(plot, series.Gain());
  LineSeriesTotals totals;
  if (decimation == nullptr) {
    LinePoint p;
    WalkWindow(series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
      totals.Sum += point.Value;
      const LinePoint walked{map.X(point.Timestamp), map.Y(point.Value)};
      DrawLinePoint(calls, plot, p, walked, color, tickColor);
      p = walked;
      ++totals.Count;
    });
    return totals;
  }
  LineColumnDecimator columns(calls, plot, decimation->Dot, decimation->Columns, color,
                              tickColor);
  WalkWindow(series, plot.Ctx.firstTime, [&](const SeriesPoint& point) {
    totals.Sum += point.Value;
    columns.Add({map.X(point.Timestamp), map.Y(point.Value)});
    ++totals.Count;
  });
  columns.Finish();
  return totals;
}

}  // namespace quendrel

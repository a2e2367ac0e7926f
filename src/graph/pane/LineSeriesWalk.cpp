#include "graph/pane/LineSeriesWalk.h"

#include <span>
#include <vector>

#include "graph/pane/LineColumnDecimator.h"
#include "graph/pane/LinePointCalls.h"

namespace quendrel {
namespace {

// The run's points newest first into out, adding their values to the sum one by one, the same
// operations in the same order as a walk point by point: a loop without calls, which keeps the
// sum in a register.
double MapNewestFirst(std::span<const SeriesPoint> run, const LineMapping& map, double sum,
                      LinePoint* out) {
  for (auto point = run.rbegin(); point != run.rend(); ++point) {
    sum += point->Value;
    *out++ = {map.X(point->Timestamp), map.Y(point->Value)};
  }
  return sum;
}

}  // namespace

void WalkLineSeriesColumns(const LinePlot& plot, const gdSeries& series,
                           const LineColumnsShared& shared, LineSeriesColumns& out) {
  const LineMapping map(plot, series.Gain());
  LineColumnDecimator columns(out.Lines, plot, shared.Dot, shared.Columns, series.Color(),
                              shared.TickColor);
  std::vector<LinePoint> mapped;
  WalkWindowRuns(series, plot.Ctx.firstTime, [&](std::span<const SeriesPoint> run) {
    mapped.resize(run.size());
    out.Totals.Sum = MapNewestFirst(run, map, out.Totals.Sum, mapped.data());
    out.Totals.Count += static_cast<std::int32_t>(run.size());
    columns.Add(mapped);
  });
  columns.Finish();
}

LineSeriesTotals WalkLineSeriesPoints(LineCalls& calls, const LinePlot& plot,
                                      const gdSeries& series, Color tickColor) {
  const Color color = series.Color();
  const LineMapping map(plot, series.Gain());
  LineSeriesTotals totals;
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

}  // namespace quendrel

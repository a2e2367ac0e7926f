// The line graph: per visible series a chain of dots clipped to the plot band, a tick on the zero
// line at every sample time, optional average and current-value marks, and the axes on top.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "foundation/text/NumberText.h"
#include "foundation/threads/OrderedJobs.h"
#include "graph/data/gdSeries.h"
#include "graph/pane/ColumnBoundsTable.h"
#include "graph/pane/DotColumns.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "graph/pane/LineCalls.h"
#include "graph/pane/LineSeriesWalk.h"
#include "graph/pane/LineXRules.h"
#include "graph/pane/SafeCanvas.h"

namespace quendrel {
namespace {

using Plot = LinePlot;
using Walked = LinePoint;

int PixelOf(int twips) { return Canvas::ToPixel(static_cast<float>(twips)); }

void Path(Canvas& canvas, std::initializer_list<Walked> points, Color c) {
  const Walked* previous = nullptr;
  for (const Walked& point : points) {
    if (previous != nullptr) SafeLine(canvas, previous->X, previous->Y, point.X, point.Y, c);
    previous = &point;
  }
}

// The open triangle of the average; the current value's mark fills it.
void DrawMarkShape(Canvas& canvas, const Plot& plot, Band band, double ym, bool filled, Color c) {
  const double px = plot.Ctx.xPixel;
  const double py = plot.Ctx.yPixel;
  const double r = plot.Right();
  if (band == Band::Inside) {
    Path(canvas, {{r, ym}, {r + 5 * px, ym - 2.5 * py}, {r + 5 * px, ym + 2.5 * py}, {r, ym}}, c);
    if (!filled) return;
    for (int k = -2; k <= 2; ++k) SafeLine(canvas, r, ym, r + 5 * px, ym + k * py, c);
    return;
  }
  // Above the plot the triangle points up, below it points down.
  const double sign = band == Band::Above ? -1.0 : 1.0;
  const double base = band == Band::Above ? plot.Top() - 10 * py : plot.Bottom() + 10 * py;
  if (!filled) {
    // The closing segment is 6 pixels long and ends one pixel left of the first point.
    Path(canvas, {{r, base}, {r + 2.5 * px, base + sign * 6 * py}, {r + 5 * px, base}, {r - px, base}}, c);
    return;
  }
  const double apex = base + sign * 5 * py;
  Path(canvas, {{r, base}, {r + 2.5 * px, apex}, {r + 5 * px, base}, {r, base}, {r + 5 * px, base + sign * py}}, c);
  for (const double k : {-2.0, -1.5, -1.0, 0.0, 1.0, 1.5, 2.0}) {
    SafeLine(canvas, r + 2.5 * px, apex, r + (2.5 + k) * px, base, c);
  }
}

void DrawMark(const GraphPane& pane, Canvas& canvas, const Plot& plot, const gdSeries& series,
              double m, bool filled) {
  const double ym = plot.Y(m, series.Gain());
  const Band band = plot.Of(ym);
  if (band == Band::OnBound) return;
  const Color c = series.Color();
  DrawMarkShape(canvas, plot, band, ym, filled, c);
  const std::string text = FormatNumber(pane.IncludeGain() ? m * series.Gain() : m, "0.0##");
  const double h = canvas.TextHeight(text);
  double y = ym - h / 2.0;
  if (band == Band::Above) y = plot.Top() - 1.5 * h;
  if (band == Band::Below) y = plot.Bottom() + h / 2.0;
  SafePrintAt(canvas, plot.Right() + 7 * plot.Ctx.xPixel, y, text);
}

// A series is drawn in its colour, its dots filled, once it has a point in the window.
void StartSeries(Canvas& canvas, const Plot& plot, const gdSeries& series) {
  canvas.SetForeColor(series.Color());
  canvas.SetFillColor(series.Color());
  const SeriesPoints& points = series.Points();
  if (points.LowerBound(plot.Ctx.firstTime) < points.Count()) canvas.SetFillStyle(vbFSSolid);
}

void DrawMarks(const GraphPane& pane, Canvas& canvas, const Plot& plot, const gdSeries& series,
               const LineSeriesTotals& totals) {
  if (totals.Count == 0) return;
  if (pane.ShowAverage()) DrawMark(pane, canvas, plot, series, totals.Sum / totals.Count, false);
  if (pane.ShowCurrent()) DrawMark(pane, canvas, plot, series, series.MostRecentValue(), true);
}

SeriesCollection VisibleSeries(const GraphPane& pane) {
  SeriesCollection visible = pane.SeriesSet();
  std::erase_if(visible, [](const auto& series) { return !series->Visible(); });
  return visible;
}

void DrawEveryPoint(const GraphPane& pane, Canvas& canvas, const Plot& plot) {
  LineCalls direct(canvas);
  if (pane.XRules()) {
    for (const auto& series : VisibleSeries(pane)) {
      AddEveryXRule(direct, plot, *series, pane.RuleColor());
    }
  }
  for (const auto& series : VisibleSeries(pane)) {
    StartSeries(canvas, plot, *series);
    const LineSeriesTotals totals =
        WalkLineSeriesPoints(direct, plot, *series, pane.LineColor());
    DrawMarks(pane, canvas, plot, *series, totals);
  }
}

// The series are walked side by side, each into calls of its own, and drawn in their order as
// their walks come back: every series' rules first, then each one's dots, segments, ticks and
// marks. A rules walk is short, so the rules are drawn while the other walks go on.
void DrawDecimated(const GraphPane& pane, Canvas& canvas, const Plot& plot, unsigned threads) {
  const DotColumns dot = DotColumns::Measure(static_cast<float>(kLineDotRadius));
  const ColumnBoundsTable columns(PixelOf(plot.Ctx.Virtual.Left) - 1,
                                  PixelOf(plot.Ctx.Virtual.Right) + 1);
  const LineColumnsShared shared{dot, columns, pane.LineColor()};
  const SeriesCollection ruled = pane.XRules() ? VisibleSeries(pane) : SeriesCollection();
  const SeriesCollection drawn = VisibleSeries(pane);
  std::vector<LineCalls> rules(ruled.size());
  std::vector<LineSeriesColumns> lines(drawn.size());
  std::vector<std::function<void()>> jobs;
  for (std::size_t i = 0; i < ruled.size(); ++i) {
    jobs.emplace_back(
        [&, i] { AddXRuleColumns(rules[i], plot, *ruled[i], columns, pane.RuleColor()); });
  }
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    jobs.emplace_back([&, i] { WalkLineSeriesColumns(plot, *drawn[i], shared, lines[i]); });
  }
  const unsigned workers = threads == 0 ? OrderedJobs::MachineThreads() : threads;
  OrderedJobs walks(std::move(jobs), workers - 1);
  for (std::size_t i = 0; i < ruled.size(); ++i) {
    walks.Wait(i);
    rules[i].DrawOn(canvas);
  }
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    walks.Wait(ruled.size() + i);
    StartSeries(canvas, plot, *drawn[i]);
    lines[i].Lines.DrawOn(canvas);
    DrawMarks(pane, canvas, plot, *drawn[i], lines[i].Totals);
  }
}

}  // namespace

void DrawLineGraph(const GraphPane& pane, Canvas& canvas, LineGraphDetail detail,
                   unsigned threads) {
  if (pane.PaintLock()) return;
  GraphContext ctx;
  if (!DrawGraphFrame(pane, canvas, ctx)) return;
  const Plot plot{ctx};
  if (detail == LineGraphDetail::EveryPoint) {
    DrawEveryPoint(pane, canvas, plot);
  } else {
    DrawDecimated(pane, canvas, plot, threads);
  }
  DrawPlotAxes(pane, canvas, ctx);
}

}  // namespace quendrel

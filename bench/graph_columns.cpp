// One hi/lo and one bar-graph repaint of a full scan window's worth of data, in milliseconds per
// repaint onto an image: 16 visible series of 100,000 points, all inside the window.
#include <benchmark/benchmark.h>

#include <QImage>
#include <string>

#include "GraphScan.h"
#include "graph/pane/GraphPane.h"
#include "platform/qt/PainterCanvas.h"

namespace quendrel {
namespace {

using bench::EnsureGuiApp;
using bench::Scan;

void Repaint(benchmark::State& state, gpGraphType type) {
  EnsureGuiApp();
  Scan scan(16, 100000, true);
  scan.pane.SetGraphType(type);
  scan.pane.SetXAxisLabels(0);
  scan.pane.SetXRules(true);
  scan.pane.SetShowAverage(state.range(0) != 0);
  QImage image(1000, 600, QImage::Format_RGB32);
  PainterCanvas canvas(image);
  scan.pane.DrawGraph(canvas);  // the first drawing sets up the fonts
  // The time column is the milliseconds of one repaint.
  for (auto _ : state) scan.pane.DrawGraph(canvas);
}

void BM_HiLoRepaint(benchmark::State& state) { Repaint(state, gpHiLo); }
BENCHMARK(BM_HiLoRepaint)->ArgName("average")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_BarGraphRepaint(benchmark::State& state) { Repaint(state, gpBar); }
BENCHMARK(BM_BarGraphRepaint)->ArgName("average")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace quendrel

// One line-graph repaint of a full scan window's worth of data, in milliseconds per repaint onto
// an image, and the number of canvas calls one repaint makes as the window fills with points.
#include <benchmark/benchmark.h>

#include <QImage>
#include <string>

#include "GraphScan.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "platform/RecordingCanvas.h"
#include "platform/qt/PainterCanvas.h"

namespace quendrel {
namespace {

using bench::EnsureGuiApp;
using bench::Scan;

// A full window of 16 series, with the rules and the average the arguments ask for, repainted onto
// an image by draw. The time column is the milliseconds of one repaint.
template <class Draw>
void Repaint(benchmark::State& state, Draw draw) {
  EnsureGuiApp();
  Scan scan(16, 100000);
  scan.pane.SetXRules(state.range(0) != 0);
  scan.pane.SetShowAverage(state.range(1) != 0);
  QImage image(1000, 600, QImage::Format_RGB32);
  PainterCanvas canvas(image);
  for (auto _ : state) draw(scan.pane, canvas);
}

void BM_LineGraphRepaint(benchmark::State& state) {
  Repaint(state, [](GraphPane& pane, PainterCanvas& canvas) { pane.DrawGraph(canvas); });
}
BENCHMARK(BM_LineGraphRepaint)->ArgNames({"rules", "average"})->Args({0, 0})->Args({1, 0})->Args({0, 1})
    ->Unit(benchmark::kMillisecond)->Iterations(10);

// The same repaint with every series worked out on the drawing thread.
void BM_LineGraphRepaintOneThread(benchmark::State& state) {
  Repaint(state, [](GraphPane& pane, PainterCanvas& canvas) {
    DrawLineGraph(pane, canvas, LineGraphDetail::Decimated, 1);
  });
}
BENCHMARK(BM_LineGraphRepaintOneThread)->ArgNames({"rules", "average"})->Args({0, 0})->Args({1, 0})
    ->Args({0, 1})->Unit(benchmark::kMillisecond)->Iterations(10);

// The same repaint drawing every point by itself, for comparison.
void BM_LineGraphRepaintEveryPoint(benchmark::State& state) {
  EnsureGuiApp();
  Scan scan(16, 100000);
  QImage image(1000, 600, QImage::Format_RGB32);
  PainterCanvas canvas(image);
  for (auto _ : state) DrawLineGraph(scan.pane, canvas, LineGraphDetail::EveryPoint);
}
BENCHMARK(BM_LineGraphRepaintEveryPoint)->Unit(benchmark::kMillisecond)->Iterations(1);

// Flat as the points grow: the calls follow the pane's pixel columns. "marks" adds rules and
// both marks.
void BM_LineGraphCalls(benchmark::State& state) {
  Scan scan(1, static_cast<int>(state.range(0)));
  const bool marks = state.range(1) != 0;
  scan.pane.SetXRules(marks);
  scan.pane.SetShowAverage(marks);
  scan.pane.SetShowCurrent(marks);
  RecordingCanvas canvas(1000, 600);
  for (auto _ : state) {
    canvas.ClearLog();
    scan.pane.DrawGraph(canvas);
  }
  state.counters["calls"] = static_cast<double>(canvas.Log().size());
}
BENCHMARK(BM_LineGraphCalls)->ArgNames({"points", "marks"})
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace quendrel

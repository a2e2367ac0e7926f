// One line-graph repaint of a full scan window's worth of data, in milliseconds per repaint onto
// an image, and the number of canvas calls one repaint makes as the window fills with points.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <string>

#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "graph/pane/GraphDrawing.h"
#include "graph/pane/GraphPane.h"
#include "platform/FakeClock.h"
#include "platform/RecordingCanvas.h"
#include "platform/qt/PainterCanvas.h"

namespace quendrel {
namespace {

constexpr double kEnd = FakeClock::DefaultStart + 86400.0;

void EnsureGuiApp() {
  static int argc = 1;
  static char name[] = "bench";
  static char* argv[] = {name, nullptr};
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(argc, argv);
}

// Series of noisy sine waves, every point inside a 300-second window.
struct Scan {
  Scan(int series, int points) {
    SetClock(&clock);
    pane.SetDataSource("gdcGraphData");
    for (int s = 0; s < series; ++s) {
      gdSeries& added = *data.AddSeries("S" + std::to_string(s), "", 0x0000FFu * (s % 3 + 1));
      for (int i = 0; i < points; ++i) {
        added.AddPoint(kEnd - 300.0 + 300.0 * i / points, (s + 1) * std::sin(i * 0.001) + (i % 7) * 0.01);
      }
    }
  }
  ~Scan() { SetClock(nullptr); }
  FakeClock clock{kEnd + 1.0};
  FormControls form;
  GraphDataControl data{&form, "gdcGraphData"};
  GraphPane pane{&form, "gpGraph"};
};

void BM_LineGraphRepaint(benchmark::State& state) {
  EnsureGuiApp();
  Scan scan(16, 100000);
  scan.pane.SetXRules(state.range(0) != 0);
  scan.pane.SetShowAverage(state.range(1) != 0);
  QImage image(1000, 600, QImage::Format_RGB32);
  PainterCanvas canvas(image);
  // The time column is the milliseconds of one repaint.
  for (auto _ : state) scan.pane.DrawGraph(canvas);
}
BENCHMARK(BM_LineGraphRepaint)->ArgNames({"rules", "average"})->Args({0, 0})->Args({1, 0})->Args({0, 1})
    ->Unit(benchmark::kMillisecond)->Iterations(10);

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

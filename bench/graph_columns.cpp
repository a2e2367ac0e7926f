// One hi/lo and one bar-graph repaint of a full scan window's worth of data, in milliseconds per
// repaint onto an image: 16 visible series of 100,000 points, all inside the window.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <string>

#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "graph/pane/GraphPane.h"
#include "platform/FakeClock.h"
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
      gdSeries& added = *data.AddSeries("S" + std::to_string(s), "Series " + std::to_string(s), 0x0000FFu * (s % 3 + 1));
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

void Repaint(benchmark::State& state, gpGraphType type) {
  EnsureGuiApp();
  Scan scan(16, 100000);
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

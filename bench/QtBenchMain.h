// The main of a benchmark of widgets, on the offscreen platform. The application lives in main, so it
// is gone before the program's statics: a static one outlives Qt's own and crashes the program on its
// way out. Include it in the benchmark's one source file.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Series storage as a long scan fills it: nanoseconds per appended point and heap bytes per stored
// point, the window look-up of the renderers, inserts after the clock is set back an hour, and
// the time to write the graph data file of a ten-hour, 16-series scan.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "graph/data/GraphDataControl.h"
#include "graph/data/gdSeries.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr double kStart = 45292.0 * 86400.0;
constexpr double kSweep = 0.1;  // 10 points a second
constexpr int kSeries = 16;

// Bytes the allocator holds for the program, its own bookkeeping included.
double HeapBytes() {
  const struct mallinfo2 info = ::mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

// Measures the timed part of each iteration itself, so per-item times print as plain numbers.
class ItemTimer {
 public:
  void Start() { start_ = std::chrono::steady_clock::now(); }
  void Stop(double items) {
    seconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    items_ += items;
  }
  double Per(double unitsPerSecond) const { return items_ == 0 ? 0 : seconds_ * unitsPerSecond / items_; }

 private:
  std::chrono::steady_clock::time_point start_;
  double seconds_ = 0;
  double items_ = 0;
};

void Fill(gdSeries& series, std::int64_t points, double start) {
  for (std::int64_t i = 0; i < points; ++i) series.AddPoint(start + static_cast<double>(i) * kSweep, double(i % 1000));
}

void BM_AddPointAppend(benchmark::State& state) {
  const std::int64_t points = state.range(0);
  double bytesPerPoint = 0.0;
  ItemTimer timer;
  for (auto _ : state) {
    const double before = HeapBytes();
    timer.Start();
    auto series = std::make_unique<gdSeries>();
    Fill(*series, points, kStart);
    timer.Stop(static_cast<double>(points));
    bytesPerPoint = (HeapBytes() - before) / static_cast<double>(points);
    benchmark::DoNotOptimize(series->MostRecentValue());
    state.PauseTiming();
    series.reset();
    state.ResumeTiming();
  }
  state.counters["ns/point"] = timer.Per(1e9);
  state.counters["heap bytes/point"] = bytesPerPoint;
}
BENCHMARK(BM_AddPointAppend)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

void BM_WindowLookupAt10M(benchmark::State& state) {
  gdSeries series;
  constexpr std::int64_t kPoints = 10'000'000;
  Fill(series, kPoints, kStart);
  std::mt19937_64 random(1);
  std::uniform_real_distribution<double> when(kStart, kStart + kPoints * kSweep);
  for (auto _ : state) benchmark::DoNotOptimize(series.FirstPointAtOrAfter(when(random)));
}
BENCHMARK(BM_WindowLookupAt10M);

// Two hours scanned, then the clock goes back an hour and an hour more is scanned, each new point
// re-stamped with its sweep's time as the scan window does.
void BM_AddPointAfterClockSetBack(benchmark::State& state) {
  constexpr std::int64_t kHistory = 2 * 3600 * 10;
  constexpr std::int64_t kSetBack = 3600 * 10;
  double bytesPerPoint = 0.0;
  ItemTimer timer;
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::unique_ptr<gdSeries>> series;
    for (int s = 0; s < kSeries; ++s) {
      series.push_back(std::make_unique<gdSeries>());
      Fill(*series.back(), kHistory, kStart);
    }
    const double resumed = kStart + kHistory * kSweep - 3600.0;
    state.ResumeTiming();
    timer.Start();
    for (std::int64_t i = 0; i < kSetBack; ++i) {
      const double t = resumed + static_cast<double>(i) * kSweep;
      for (auto& each : series) each->AddPoint(t, 1.0).SetTimestamp(t + 0.0005);
    }
    timer.Stop(static_cast<double>(kSeries * kSetBack));
    state.PauseTiming();
    bytesPerPoint = HeapBytes() / static_cast<double>(kSeries * (kHistory + kSetBack));
    series.clear();
    state.ResumeTiming();
  }
  state.counters["us/insert"] = timer.Per(1e6);
  state.counters["heap bytes/point"] = bytesPerPoint;
}
BENCHMARK(BM_AddPointAfterClockSetBack)->Unit(benchmark::kMillisecond)->Iterations(3);

// Ten hours of 16 series at 10 points a second: 36,000 rows.
void BM_SaveAllTenHours(benchmark::State& state) {
  GraphDataControl control(nullptr, "gdcGraphData");
  for (int s = 0; s < kSeries; ++s) Fill(*control.AddSeries("M01P" + std::to_string(10 + s), "", 0), 360'000, kStart);
  const TempFolder folder;
  const std::string path = folder.File("graph.dat");
  for (auto _ : state) control.SaveAll(path, ',');
  state.counters["rows/s"] = benchmark::Counter(36'000.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SaveAllTenHours)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quendrel

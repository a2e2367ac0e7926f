// A full paint of the series list on the recording canvas: a list of 2,000 series and one of 20,
// 20 rows high each. Only the rows that meet the control are painted, so both should cost alike.
#include <benchmark/benchmark.h>

#include <string>

#include "graph/controls/SeriesListBox.h"
#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "platform/RecordingCanvas.h"

namespace quendrel {
namespace {

constexpr int kRowsHigh = 20;
constexpr int kRowPixels = 16;

void BM_SeriesListFullPaint(benchmark::State& state) {
  FormControls form;
  GraphDataControl data(&form, "gdcGraphData");
  for (int s = 0; s < state.range(0); ++s) {
    gdSeries& series = *data.AddSeries("M" + std::to_string(s / 100) + "P" + std::to_string(s % 100),
                                       "Series " + std::to_string(s), 0x0000FFu);
    series.SetFormatString("0.00");
    series.AddPoint(1.0, s * 0.5);
  }
  RecordingCanvas canvas(400, kRowsHigh * kRowPixels);
  SeriesListBox list(&form, "slbSeries");
  list.SetCanvas(&canvas);
  list.SetShowHeader(true);
  list.SetDataControl("gdcGraphData");
  list.Resize(400 * 15.0f, kRowsHigh * kRowPixels * 15.0f);
  list.ScrollBarChanged(50);
  for (auto _ : state) {
    canvas.ClearLog();
    list.PaintSeriesList(false);
    benchmark::DoNotOptimize(canvas.Log().size());
  }
  state.counters["canvas_calls"] = static_cast<double>(canvas.Log().size());
}
BENCHMARK(BM_SeriesListFullPaint)->Arg(2000)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quendrel

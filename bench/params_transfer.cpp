// Uploads from the simulated drive in another process, over a pseudo-terminal: how many parameters a
// second a template upload of its default table manages, and how many round trips each parameter
// costs against the floor of one value read per parameter plus one read per value name.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "SerialBenchLine.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/settings/Config.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBFile.h"
#include "params/transfer/KVDUploadTypes.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

struct Line : SerialBenchLine {
  Line() { context = server.OpenContext(1, -1); }
  ~Line() { context.reset(); }

  std::shared_ptr<GIOContext> context;
  ProgressServer progress;
};

// Parameters and value names the template asks for: the floor of round trips.
void TemplateFloor(double& parameters, double& valueNames) {
  const auto fit = FirmwareCompatibility().FitData(2.105);
  for (const std::int32_t n : fit->EntryNumbers()) {
    if (fit->Template(n).isHole) continue;
    parameters += 1;
    valueNames += fit->Template(n).iNumDVDs;
  }
}

void BM_TemplateUpload(benchmark::State& state) {
  if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) {
    state.SkipWithError("the simulated drive's compatibility file is missing");
    return;
  }
  Line line;
  double parameters = 0;
  double valueNames = 0;
  TemplateFloor(parameters, valueNames);
  line.sim.ResetStats();
  long failures = 0;
  for (auto _ : state) {
    KVBFile file;
    file.BuildFromTemplate(2.105);
    float version = 2.105F;
    if (!file.UploadTemplateWithRetries(*line.context, line.progress, version)) ++failures;
  }
  const double uploads = static_cast<double>(state.iterations());
  const double roundTrips = static_cast<double>(line.sim.RequestCount());
  state.counters["parameters/s"] = benchmark::Counter(uploads * parameters, benchmark::Counter::kIsRate);
  state.counters["round_trips/parameter"] = roundTrips / (uploads * parameters);
  state.counters["floor/parameter"] = (parameters + valueNames) / parameters;
  state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_TemplateUpload)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// For comparison: the same drive without a template, every part of menus 0-19, parameters 0-98.
void BM_FullUpload(benchmark::State& state) {
  Line line;
  line.sim.ResetStats();
  double present = 0;
  long failures = 0;
  for (auto _ : state) {
    KVBFile file;
    if (!file.FullUpload(*line.context, kvdUploadAll, line.progress, false)) ++failures;
    present = 0;
    for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) present += file.Identifier(n).empty() ? 0 : 1;
  }
  const double uploads = static_cast<double>(state.iterations());
  state.counters["parameters/s"] = benchmark::Counter(uploads * present, benchmark::Counter::kIsRate);
  state.counters["round_trips/parameter"] = static_cast<double>(line.sim.RequestCount()) / (uploads * present);
  state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_FullUpload)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace quendrel

// The offline editor opening a full parameter file (all 2100 slots present, the quick setup slots
// bound through the firmware template): load plus tree build, in milliseconds per file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "FullParameterFile.h"
#include "editors/frmEditOffline.h"
#include "params/FirmwareCompatibilityFile.h"

namespace quendrel {
namespace {

KVBFile FullFile() {
  KVBFile set = FullParameterFile();
  set.SetValue(1129, "2.105");
  // Quick setup slot n shows Mn.0n.
  for (std::int32_t slot = 1; slot <= 5; ++slot) {
    set.SetValue(1200 + slot, std::to_string(slot) + ".0" + std::to_string(slot));
  }
  return set;
}

void BM_OfflineLoadFullFile(benchmark::State& state) {
  if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) state.SkipWithError("no firmware template");
  const std::string path =
      (std::filesystem::temp_directory_path() / ("quendrel-bench-offline-" + std::to_string(::getpid()) + ".KVB"))
          .string();
  if (!FullFile().SaveKVBFile(path, false)) state.SkipWithError("the file was not written");
  auto tree = std::make_shared<ParameterTree>();
  frmEditOffline form(tree, nullptr);
  form.Form_Load();
  form.tbFileName_Change(path);
  for (auto _ : state) {
    form.bLoadFile_Click();
    benchmark::DoNotOptimize(tree->First());
  }
  state.counters["slots/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * KVBFile::kSlotCount, benchmark::Counter::kIsRate);
  std::filesystem::remove(path);
}
BENCHMARK(BM_OfflineLoadFullFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quendrel

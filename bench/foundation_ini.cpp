// Start-up cost of a large settings file: loading INI files of many keys or many sections, in keys per
// second. Ten times the keys should cost about ten times the time.
#include "foundation/settings/INIFile.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "support/TempFolder.h"

namespace quendrel {
namespace {

std::string ManyKeys(std::int64_t keys, std::int64_t keysPerSection) {
  std::string text;
  for (std::int64_t i = 0; i < keys; ++i) {
    if (i % keysPerSection == 0) text += "[Section" + std::to_string(i / keysPerSection) + "]\n";
    text += "Key" + std::to_string(i) + "=value " + std::to_string(i) + '\n';
  }
  return text;
}

void LoadSettings(benchmark::State& state, std::int64_t keysPerSection) {
  const std::int64_t keys = state.range(0);
  const TempFolder folder;
  const std::string path = folder.Write("Quendrel.INI", ManyKeys(keys, keysPerSection));
  for (auto _ : state) {
    INIFile ini;
    benchmark::DoNotOptimize(ini.Load(path));
  }
  state.counters["keys/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * keys), benchmark::Counter::kIsRate);
}

// Every key in one of seven sections, as in the program's own file.
void BM_LoadINIKeys(benchmark::State& state) { LoadSettings(state, state.range(0) / 7 + 1); }
BENCHMARK(BM_LoadINIKeys)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One key per section.
void BM_LoadINISections(benchmark::State& state) { LoadSettings(state, 1); }
BENCHMARK(BM_LoadINISections)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quendrel

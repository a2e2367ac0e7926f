// Loading and saving a full parameter file (all 2100 slots present), in files per second, slots per
// second and bytes per second, from memory and through the disk (a save flushes its file to disk).
#include "FullParameterFile.h"
#include "params/files/KVBCodec.h"
#include "params/files/KVBFile.h"
#include "foundation/text/ParameterId.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace quendrel {
namespace {

KVBFile FullFile() { return FullParameterFile(); }

void Report(benchmark::State& state, std::size_t imageSize) {
  const auto files = static_cast<double>(state.iterations());
  state.counters["files/s"] = benchmark::Counter(files, benchmark::Counter::kIsRate);
  state.counters["slots/s"] = benchmark::Counter(files * KVBFile::kSlotCount, benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * imageSize));
}

void BM_EncodeFullFile(benchmark::State& state) {
  const KVBFile set = FullFile();
  std::size_t size = 0;
  for (auto _ : state) {
    const auto image = KVBCodec::Encode(set, false);
    size = image->size();
    benchmark::DoNotOptimize(image);
  }
  Report(state, size);
}
BENCHMARK(BM_EncodeFullFile);

void BM_LoadFullFileFromMemory(benchmark::State& state) {
  const std::string image = *KVBCodec::Encode(FullFile(), false);
  KVBFile set;
  for (auto _ : state) {
    if (!set.LoadKVBString(image)) state.SkipWithError("the image did not load");
  }
  Report(state, image.size());
}
BENCHMARK(BM_LoadFullFileFromMemory);

void BM_SaveFullFile(benchmark::State& state) {
  const TempFolder folder;
  const KVBFile set = FullFile();
  const std::string path = folder.File("full.KVB");
  for (auto _ : state) {
    if (!set.SaveKVBFile(path, false)) state.SkipWithError("the save failed");
  }
  Report(state, std::filesystem::file_size(path));
}
BENCHMARK(BM_SaveFullFile)->Unit(benchmark::kMillisecond);

void BM_LoadFullFile(benchmark::State& state) {
  const TempFolder folder;
  const std::string path = folder.File("full.KVB");
  FullFile().SaveKVBFile(path, false);
  KVBFile set;
  for (auto _ : state) {
    if (!set.LoadKVBFile(path)) state.SkipWithError("the file did not load");
  }
  Report(state, std::filesystem::file_size(path));
}
BENCHMARK(BM_LoadFullFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quendrel

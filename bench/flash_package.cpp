// Loading a 16 MB firmware upgrade package (a root script and sixteen 1 MB members), from its file
// and from an image already in memory: milliseconds per load and megabytes per second.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "flash/scripts/FUPFile.h"
#include "flash/support/PackageWriter.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr int kMembers = 16;
constexpr std::size_t kMemberSize = 1U << 20;

std::string SixteenMegabytePackage() {
  PackageSpec spec;
  spec.rootName = "upgrade.fl2";
  spec.members.push_back({"upgrade.fl2", "forcedriveflash();\n"});
  for (int member = 0; member < kMembers; ++member) {
    std::string contents;
    contents.reserve(kMemberSize);
    while (contents.size() < kMemberSize) contents += ":10000000DEADBEEF0123456789ABCDEF00112233C4\r\n";
    contents.resize(kMemberSize);
    spec.members.push_back({"image" + std::to_string(member) + ".hex", std::move(contents)});
  }
  return PackageImage(spec);
}

void Report(benchmark::State& state, std::size_t size) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
  state.counters["MB"] = static_cast<double>(size) / (1 << 20);
}

void BM_LoadPackageFile(benchmark::State& state) {
  const TempFolder folder;
  const std::string image = SixteenMegabytePackage();
  const std::filesystem::path path = folder.File("release.fup");
  if (!WritePackageFile(path, image)) return state.SkipWithError("the package could not be written");
  for (auto _ : state) {
    FUPFile package;
    if (!package.Load(path.string())) return state.SkipWithError("the package did not load");
    benchmark::DoNotOptimize(package.RootFile());
  }
  Report(state, image.size());
}
BENCHMARK(BM_LoadPackageFile)->Unit(benchmark::kMillisecond);

void BM_LoadPackageImage(benchmark::State& state) {
  const std::string image = SixteenMegabytePackage();
  for (auto _ : state) {
    FUPFile package;
    if (!package.LoadImage(image)) return state.SkipWithError("the package did not load");
    benchmark::DoNotOptimize(package.RootFile());
  }
  Report(state, image.size());
}
BENCHMARK(BM_LoadPackageImage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quendrel

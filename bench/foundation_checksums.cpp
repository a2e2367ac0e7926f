// Throughput of the frame checksum and the file cipher over 1 MiB, in bytes per second.
#include "foundation/files/FileCipher.h"
#include "foundation/values/Crc16.h"
#include "foundation/values/RandomGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace quendrel {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

std::string RandomBytes(std::size_t size) {
  RandomGenerator generator(1);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(generator.Between(0, 255));
  return bytes;
}

void BM_Crc16(benchmark::State& state) {
  const std::string data = RandomBytes(kMiB);
  for (auto _ : state) benchmark::DoNotOptimize(Crc16(data));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_Crc16);

// The size of a typical serial frame: what a parameter read costs in checksum work.
void BM_Crc16ShortFrame(benchmark::State& state) {
  const std::string frame = RandomBytes(8);
  for (auto _ : state) benchmark::DoNotOptimize(Crc16(frame));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * frame.size()));
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Crc16ShortFrame);

void BM_DecryptString(benchmark::State& state) {
  const std::string data = RandomBytes(kMiB);
  for (auto _ : state) benchmark::DoNotOptimize(DecryptString(data));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_DecryptString);

}  // namespace
}  // namespace quendrel

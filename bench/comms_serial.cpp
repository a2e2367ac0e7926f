// Serial round trips to the simulated drive in another process, over a pseudo-terminal: how many
// reads a second the client manages when the line costs nothing, and how close it comes to the
// line's own limit when the simulator holds every reply for its wire time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "SerialBenchLine.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

struct Line : SerialBenchLine {
  Line(std::vector<std::string> arguments, const std::string& baudRate)
      : SerialBenchLine(baudRate, std::move(arguments)) {
    context = server.OpenContext(1, -1);
  }
  ~Line() { context.reset(); }

  std::shared_ptr<GIOContext> context;
};

void BM_ReadValueRoundTrips(benchmark::State& state) {
  Line line({}, "115200");
  long failures = 0;
  for (auto _ : state) {
    const udtDriveResponse response = line.context->ReadValue(11, 29);
    if (response.Error) ++failures;
    benchmark::DoNotOptimize(response.intData);
  }
  state.counters["round_trips/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_ReadValueRoundTrips)->UseRealTime()->MinTime(2.0);

// Measured time over the line's limit: the request's and the reply's wire time plus the 3.5
// characters of silence that end a frame, 10 bits a character at 19200 bits per second.
void BM_WireEfficiencyAt19200(benchmark::State& state) {
  constexpr double kBaud = 19200.0;
  constexpr double kCharacter = 10.0 / kBaud;
  Line line({"--baud", "19200"}, "19200");
  const udtDriveResponse first = line.context->ReadValue(11, 29);
  if (first.Error) {
    state.SkipWithError("the simulated drive did not answer");
    return;
  }
  const double limit = (static_cast<double>(first.rawreq.size() + first.rawreply.size()) + 3.5) * kCharacter;
  long failures = 0;
  const auto started = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (line.context->ReadValue(11, 29).Error) ++failures;
  }
  const std::chrono::duration<double> measured = std::chrono::steady_clock::now() - started;
  const double iterations = static_cast<double>(state.iterations());
  state.counters["round_trips/s"] = benchmark::Counter(iterations, benchmark::Counter::kIsRate);
  state.counters["line_limit_ms"] = limit * 1000.0;
  state.counters["measured_ms"] = measured.count() / iterations * 1000.0;
  state.counters["measured/limit"] = measured.count() / (iterations * limit);
  state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_WireEfficiencyAt19200)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace quendrel

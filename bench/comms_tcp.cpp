// Round trips to the simulated drive in another process over TCP on loopback, on one connection:
// how many parameter reads a second the Ethernet module manages on each protocol.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "comms/modules/EthernetModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

struct Link {
  explicit Link(int protocol) : sim({"--tcp", "0", "--rtu-tcp", "0"}), server(SystemClockInstance()) {
    ResetConfig();
    Config().SetValue("Host", "Ethernet", "127.0.0.1");
    server.RegisterModule(std::make_unique<EthernetModule>(SystemClockInstance()));
    server.Startup();
    server.SelectModule("Ethernet");
    auto& module = static_cast<EthernetModule&>(*server.Module("Ethernet"));
    module.SetProtocol(protocol);
    module.SetPort(protocol == EthernetModule::kModbusTcp ? sim.TcpPort() : sim.RtuTcpPort());
    context = server.OpenContext(1, -1);
  }

  DriveSimProcess sim;
  GIOServer server;
  std::shared_ptr<GIOContext> context;
};

void ReadValueRoundTrips(benchmark::State& state, int protocol) {
  Link link(protocol);
  if (link.context->ReadValue(11, 29).Error) {
    state.SkipWithError("the simulated drive did not answer");
    return;
  }
  long failures = 0;
  for (auto _ : state) {
    const udtDriveResponse response = link.context->ReadValue(11, 29);
    if (response.Error) ++failures;
    benchmark::DoNotOptimize(response.intData);
  }
  state.counters["round_trips/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["failures"] = static_cast<double>(failures);
}

void BM_ModbusTcpReadValue(benchmark::State& state) { ReadValueRoundTrips(state, EthernetModule::kModbusTcp); }
BENCHMARK(BM_ModbusTcpReadValue)->UseRealTime()->MinTime(2.0);

void BM_RtuOverTcpReadValue(benchmark::State& state) { ReadValueRoundTrips(state, EthernetModule::kRtuOverTcp); }
BENCHMARK(BM_RtuOverTcpReadValue)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace quendrel

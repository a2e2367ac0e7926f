// Upload Menu Data of the quick setup wizard against the simulated drive's built-in table: the round
// trips it costs beyond the template upload every editor makes, whose floor is one pointer, one name,
// each value name plus the end of the list, and one scale read per binding row.
#include <benchmark/benchmark.h>

#include <memory>

#include "SerialBenchLine.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "editors/frmConfigureQuickSetup.h"
#include "foundation/settings/Config.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

// The unlock's read and write, the presence test and the version read.
constexpr long kConnectRequests = 4;

long TemplateUploadRequests(GIOServer& server, DriveSimProcess& sim) {
  sim.ResetStats();
  const std::shared_ptr<GIOContext> ctx = server.OpenContext(1, -1);
  KVBFile set;
  ProgressServer progress;
  float version = 2.105F;
  set.BuildFromTemplate(version);
  set.UploadTemplateWithRetries(*ctx, progress, version);
  ctx->CloseContext();
  return sim.RequestCount();
}

void BM_QuickSetupUpload(benchmark::State& state) {
  if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) {
    state.SkipWithError("the simulated drive's compatibility file is missing");
    return;
  }
  SerialBenchLine line;
  DriveSimProcess& sim = line.sim;
  GIOServer& server = line.server;
  const long templateRequests = TemplateUploadRequests(server, sim);
  long total = 0;
  for (auto _ : state) {
    frmConfigureQuickSetup form({&server, nullptr, nullptr, nullptr});
    form.Form_Load();
    sim.ResetStats();
    form.bConnect_Click();
    total += sim.RequestCount();
    if (form.View().lblConnectStatus != "Upload Complete") state.SkipWithError("the upload failed");
  }
  const double perUpload = static_cast<double>(total) / static_cast<double>(state.iterations());
  state.counters["round_trips"] = perUpload - static_cast<double>(templateRequests + kConnectRequests);
}
BENCHMARK(BM_QuickSetupUpload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace quendrel

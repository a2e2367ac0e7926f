// One update tick of the online editor over 30 visible rows, against the simulated drive emulating a
// 19200 baud line: the round trips it costs (one per row plus the legacy check) and how long it keeps
// the window busy, which must stay well inside the 5 s between ticks.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "SerialBenchLine.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "editors/frmEditOnline.h"
#include "foundation/settings/Config.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

constexpr std::size_t kRows = 30;

// The tree's height that shows exactly kRows rows, the last one perhaps in part.
bool ShowRows(ParameterTree& tree) {
  tree.ExpandAll();
  std::int32_t height = static_cast<std::int32_t>(kRows) * tree.Root().MinHeight();
  for (int tries = 0; tries < 400 && tree.VisibleNodes().size() != kRows; ++tries) {
    height += tree.VisibleNodes().size() < kRows ? 15 : -15;
    tree.Resize(tree.Width(), height);
    tree.Refresh();
  }
  return tree.VisibleNodes().size() == kRows;
}

void BM_OnlineUpdateTick(benchmark::State& state) {
  if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) {
    state.SkipWithError("the simulated drive's compatibility file is missing");
    return;
  }
  SerialBenchLine line("19200");
  DriveSimProcess& sim = line.sim;
  GIOServer& server = line.server;
  auto tree = std::make_shared<ParameterTree>();
  frmEditOnline::Services services;
  services.Server = &server;
  auto form = std::make_shared<frmEditOnline>(tree, services);
  form->Form_Load();
  form->bConnect_Click();  // at full speed: the upload is not what is measured
  if (!form->View().TimerUpdateEnabled || !ShowRows(*tree)) {
    state.SkipWithError("no connection, or the rows do not fit");
  } else {
    sim.SetBaudRate(19200);
    sim.ResetStats();
    for (auto _ : state) form->TimerUpdate_Timer();
    state.counters["round_trips"] = static_cast<double>(sim.RequestCount()) / static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(kRows);
  }
  form.reset();
}
BENCHMARK(BM_OnlineUpdateTick)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
}  // namespace quendrel

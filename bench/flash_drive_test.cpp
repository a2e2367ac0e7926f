// Single Command round trips per second through the drive test window (offscreen), a read with its
// report written to the box, to set beside the bare read of comms_serial; then the same with a turn
// of the event loop after each command, as clicks and poll ticks have, and with a report that
// differs every time, so the box lays out and paints anew each time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <memory>

#include "QtBenchMain.h"
#include "SerialBenchLine.h"
#include "comms/functions/FunctionTemplates.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "flash/qt/frmDriveTest.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

enum class Loop { None, TurnEachCommand, TurnAndNewReport };

// Reads M11P29 every time, or alternately M11P29 and M11P28 so every report differs from the one shown.
void SingleCommands(benchmark::State& state, Loop loop) {
  SerialBenchLine line;
  GIOServer& server = line.server;
  LoadFunctionTemplates();
  {
    frmDriveTest window(server);
    const auto& commands = window.Console().CommandList();
    const auto found = std::find(commands.begin(), commands.end(), FindFunctionTemplate("ReadValue")->Description());
    window.Console().ChooseCommand(static_cast<int>(found - commands.begin()));
    window.Console().Grid().SetValue(1, "11");
    window.Console().Grid().SetValue(2, "29");
    window.show();
    QCoreApplication::processEvents();
    bool other = false;
    for (auto _ : state) {
      if (loop == Loop::TurnAndNewReport) window.Console().Grid().SetValue(2, (other = !other) ? "28" : "29");
      window.ExecuteButton()->click();
      if (loop != Loop::None) QCoreApplication::processEvents();
    }
    if (window.ResultBox()->toPlainText().contains(QStringLiteral("Error"))) state.SkipWithError("the read failed");
  }
  state.counters["round_trips/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_SingleCommandRoundTrips(benchmark::State& state) { SingleCommands(state, Loop::None); }
BENCHMARK(BM_SingleCommandRoundTrips)->UseRealTime()->MinTime(2.0);

void BM_SingleCommandEventLoop(benchmark::State& state) { SingleCommands(state, Loop::TurnEachCommand); }
BENCHMARK(BM_SingleCommandEventLoop)->UseRealTime()->MinTime(2.0);

void BM_SingleCommandNewReport(benchmark::State& state) { SingleCommands(state, Loop::TurnAndNewReport); }
BENCHMARK(BM_SingleCommandNewReport)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace quendrel

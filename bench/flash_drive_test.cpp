// Single Command round trips per second through the drive test window (offscreen), a read of the
// software version with its report written to the box, to set beside the bare read of comms_serial.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <memory>

#include "SerialBenchLine.h"
#include "comms/FunctionTemplates.h"
#include "comms/GIOServer.h"
#include "comms/SerialModule.h"
#include "drivesim/DriveSimProcess.h"
#include "flash/qt/frmDriveTest.h"
#include "foundation/Config.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_flash_drive_test";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

void BM_SingleCommandRoundTrips(benchmark::State& state) {
  App();
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
    for (auto _ : state) window.ExecuteButton()->click();
    if (window.ResultBox()->toPlainText().contains(QStringLiteral("Error"))) state.SkipWithError("the read failed");
  }
  state.counters["round_trips/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SingleCommandRoundTrips)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace quendrel

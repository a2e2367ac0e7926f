// One sweep of the scan window over 16 parameters against the simulated drive, over Modbus/TCP and
// over a pseudo-terminal: the time the sweep takes, the time its 16 reads take one by one on the same
// connection, and their ratio. A ratio of 1.0 means the sweep costs its round trips and nothing
// more; well above it, the sweep (log line, time stamps, refreshes, indicator) does work of its own.
// A continuous scan runs the message loop between two sweeps: its time (the repaints the sweeps asked
// for) and the sweeps a second that leaves are measured too, and a continuous scan is run as the
// window runs it, its scan timer firing every millisecond.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "QtBenchMain.h"
#include "comms/modules/EthernetModule.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/settings/Config.h"
#include "foundation/text/ParameterId.h"
#include "graph/data/ScanList.h"
#include "graph/pane/qt/GraphPaneWidget.h"
#include "graph/scan/qt/frmGraphLog.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/Clock.h"
#include "support/PaintCounter.h"
#include "support/TempFolder.h"
#include "tree/qt/ParameterTreeWidget.h"

namespace quendrel {
namespace {

const std::vector<std::string> kSwept = {"M01P01", "M01P02", "M01P03", "M01P04", "M01P05", "M02P01",
                                         "M02P02", "M02P03", "M02P04", "M03P01", "M03P02", "M03P03",
                                         "M03P04", "M03P05", "M04P01", "M04P02"};

double Seconds(std::chrono::steady_clock::duration elapsed) { return std::chrono::duration<double>(elapsed).count(); }

// The window shown and scanning the 16 parameters, its log open.
class SweepRig {
 public:
  explicit SweepRig(bool tcp) : sim(tcp ? std::vector<std::string>{"--tcp", "0"} : std::vector<std::string>{}),
                                server(SystemClockInstance()) {
    ResetConfig();
    CreateScanList(folder.File(""));
    FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2);
    Config().SetValue("LogFile", "Graph/Log", folder.File("sweep.log"));
    if (tcp) {
      Config().SetValue("Host", "Ethernet", "127.0.0.1");
      server.RegisterModule(std::make_unique<EthernetModule>(SystemClockInstance()));
    } else {
      Config().SetValue("PortNames", "Serial Port", sim.DevicePath());
      Config().SetValue("ComPort", "Serial Port", "0");
      Config().SetValue("Timeout", "Serial Port", "2");
      server.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance()));
    }
    server.Startup();
    server.SelectModule(tcp ? "Ethernet" : "Serial");
    if (tcp) {
      auto& module = static_cast<EthernetModule&>(*server.Module("Ethernet"));
      module.SetProtocol(EthernetModule::kModbusTcp);
      module.SetPort(sim.TcpPort());
    }
    frmGraphLog::Links links;
    links.Server = &server;
    window = std::make_unique<frmGraphLog>(WindowHost{}, links);
    window->resize(1000, 700);
    window->show();
    QApplication::processEvents();
    GraphLogSession& core = window->Core();
    core.bConnect_Click();
    for (const std::string& key : kSwept) {
      ParameterTreeNode& node = window->TreeWidget()->Tree().Node(key);
      node.SetChecked(1);
      core.treePramList_CheckChanged(node);
    }
    core.bStartGraph_Click();
    // The bench runs the sweeps itself.
    window->ScanTimer()->stop();
    // The window shows its graph page before its first tick, as the message loop does: left for the
    // first sweep's indicator, the paint of the whole page would count as the sweep's.
    QApplication::processEvents();
    reads = server.OpenContext(1, -1);
  }
  ~SweepRig() {
    window.reset();
    reads.reset();
    server.Shutdown();
    FirmwareCompatibility() = FirmwareCompatibilityFile{};
    CreateScanList("");
    ResetConfig();
  }
  // A sweep writes one line.
  std::size_t LogLines() const {
    std::ifstream log(folder.File("sweep.log"), std::ios::binary);
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>(), '\n'));
  }
  bool Ready() const { return window->Core().LogOpen() && window->Core().gdcGraphData().SeriesSet().size() == kSwept.size(); }

  // The 16 reads one by one, timed each on its own, summed.
  double RoundTrips() {
    double sum = 0.0;
    for (const std::string& key : kSwept) {
      const std::int32_t p = ParseParameterId(key);
      const auto start = std::chrono::steady_clock::now();
      const udtDriveResponse reply = reads->ReadValue(static_cast<std::uint8_t>(p / 100), static_cast<std::uint8_t>(p % 100));
      sum += Seconds(std::chrono::steady_clock::now() - start);
      benchmark::DoNotOptimize(reply.sglData);
    }
    return sum;
  }

  TempFolder folder;
  DriveSimProcess sim;
  GIOServer server;
  std::unique_ptr<frmGraphLog> window;
  std::shared_ptr<GIOContext> reads;
};

void Sweep(benchmark::State& state, bool tcp) {
  SweepRig rig(tcp);
  if (!rig.Ready()) {
    state.SkipWithError("the window did not connect and scan the 16 parameters");
    return;
  }
  double sweeps = 0.0;
  double roundTrips = 0.0;
  double loops = 0.0;
  bool sweepFirst = true;
  for (auto _ : state) {
    // Either goes first in turn, so neither always meets the caches the repaints left.
    if (!sweepFirst) roundTrips += rig.RoundTrips();
    const auto start = std::chrono::steady_clock::now();
    rig.window->Core().TimerScan_Timer();
    const double sweep = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(sweep);
    sweeps += sweep;
    if (sweepFirst) roundTrips += rig.RoundTrips();
    sweepFirst = !sweepFirst;
    // What the window's message loop does between two sweeps: the repaints they asked for.
    const auto loopStart = std::chrono::steady_clock::now();
    QApplication::processEvents();
    loops += Seconds(std::chrono::steady_clock::now() - loopStart);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["sweep_ms"] = 1000.0 * sweeps / n;
  state.counters["round_trips_ms"] = 1000.0 * roundTrips / n;
  state.counters["ratio"] = sweeps / roundTrips;
  state.counters["loop_ms"] = 1000.0 * loops / n;
  state.counters["continuous_sweeps/s"] = n / (sweeps + loops);
  state.counters["parameters/s"] = benchmark::Counter(n * static_cast<double>(kSwept.size()) / sweeps);
}

void ContinuousSweeps(benchmark::State& state, bool tcp) {
  SweepRig rig(tcp);
  if (!rig.Ready()) {
    state.SkipWithError("the window did not connect and scan the 16 parameters");
    return;
  }
  const PaintCounter graph(*rig.window->GraphWidget());
  const std::size_t linesBefore = rig.LogLines();
  rig.window->ScanTimer()->start(1);
  double seconds = 0.0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    QEventLoop loop;
    QTimer::singleShot(250, &loop, &QEventLoop::quit);
    loop.exec();
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(elapsed);
    seconds += elapsed;
  }
  rig.window->ScanTimer()->stop();
  const double sweeps = static_cast<double>(rig.LogLines() - linesBefore);
  state.counters["sweeps/s"] = sweeps / seconds;
  state.counters["sweep_ms"] = 1000.0 * seconds / sweeps;
  state.counters["graph_paints/s"] = graph.Paints / seconds;
}

void BM_ScanSweepModbusTcp(benchmark::State& state) { Sweep(state, true); }
BENCHMARK(BM_ScanSweepModbusTcp)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ScanSweepPseudoTerminal(benchmark::State& state) { Sweep(state, false); }
BENCHMARK(BM_ScanSweepPseudoTerminal)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ContinuousSweepsModbusTcp(benchmark::State& state) { ContinuousSweeps(state, true); }
BENCHMARK(BM_ContinuousSweepsModbusTcp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_ContinuousSweepsPseudoTerminal(benchmark::State& state) { ContinuousSweeps(state, false); }
BENCHMARK(BM_ContinuousSweepsPseudoTerminal)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
}  // namespace quendrel

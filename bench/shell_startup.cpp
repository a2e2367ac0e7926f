// Start-up to a usable main window (settings, communications, script parser, the window with
// its menus, icons and status bar, shown and painted), without the splash's minimum time.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "comms/server/CommServer.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"
#include "platform/UiServices.h"
#include "shell/qt/ShellApplication.h"
#include "shell/qt/frmMainMDI.h"
#include "support/TempFolder.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench-shell-startup";
  static char* argv[] = {name, nullptr};
  static const bool offscreen = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
  }();
  static_cast<void>(offscreen);
  static QApplication app(argc, argv);
  return app;
}

void BM_StartupToMainWindow(benchmark::State& state) {
  App();
  const quendrel::TempFolder folder;
  quendrel::FakeClock clock;
  for (auto _ : state) {
    quendrel::ShellApplication::Options options;
    options.Folder = folder.Path().string();
    options.SplashMinimumSeconds = 0.0;
    options.LockPath = QString::fromStdString(folder.File("quendrel.lock"));
    quendrel::ShellApplication shell(options);
    if (shell.Start(quendrel::Ui(), clock) != quendrel::StartupOutcome::Running) {
      state.SkipWithError("start-up failed");
      break;
    }
    QApplication::processEvents();
    benchmark::DoNotOptimize(shell.MainWindow()->grab());
    state.PauseTiming();
    quendrel::CommServer().Shutdown();
    state.ResumeTiming();
  }
  state.counters["startups/s"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_StartupToMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace

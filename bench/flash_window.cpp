// Statements per second through the drive flash window's Start loop (offscreen): each step runs an
// assignment, shows the statement and the bar, and turns the event loop once, as a run does.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <fstream>
#include <string>

#include "QtBenchMain.h"
#include "comms/server/GIOServer.h"
#include "flash/language/ParseEngine.h"
#include "flash/qt/frmDriveFlash.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"
#include "platform/qt/QtUiServices.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr int kStatements = 10000;

// The desktop's pump, with the closing box answered at once.
class BenchUi final : public QtUiServices {
 public:
  int MsgBox(const std::string&, int, const std::string&) override {
    ++boxes;
    return vbOK;
  }
  int boxes = 0;
};

std::string AssignmentScript(const TempFolder& folder) {
  const std::string path = folder.File("assignments.fl2");
  std::ofstream script(path);
  for (int i = 0; i < kStatements; ++i) script << "a" << i % 10 << " = " << i << " + 1;\n";
  return path;
}

void BM_DriveFlashStartLoop(benchmark::State& state) {
  TempFolder folder;
  BenchUi ui;
  SetUi(&ui);
  ParseEngine parser;
  GIOServer server(SystemClockInstance());
  frmDriveFlash::Links links;
  links.Environment = {&ui, &SystemClockInstance(), &parser, {}, &server, nullptr, nullptr, &Config()};
  {
    frmDriveFlash window(links, nullptr);
    window.FileNameBox()->setText(QString::fromStdString(AssignmentScript(folder)));
    emit window.FileNameBox()->textEdited(window.FileNameBox()->text());
    window.resize(560, 470);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
      // Loaded outside the measure: the first Single Step only loads.
      state.PauseTiming();
      window.SingleStepOption()->click();
      window.SingleStepButton()->click();
      window.findChild<QRadioButton*>(QStringLiteral("rbExecuteMode1"))->click();
      state.ResumeTiming();
      window.StartButton()->click();
    }
    if (ui.boxes != static_cast<int>(state.iterations())) state.SkipWithError("a run did not reach its end");
  }
  SetUi(nullptr);
  state.counters["steps/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kStatements, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DriveFlashStartLoop)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace quendrel

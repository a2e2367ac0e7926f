#include "shell/qt/ShellApplication.h"

#include <QApplication>
#include <filesystem>

#include "platform/UiServices.h"
#include "shell/ProgramServices.h"
#include "shell/qt/frmMainMDI.h"
#include "shell/qt/frmSplash.h"

namespace quendrel {

ShellApplication::ShellApplication(Options options)
    : options_(std::move(options)), lock_(options_.LockPath) {
  if (options_.Folder.empty()) options_.Folder = std::filesystem::current_path().string();
}

ShellApplication::~ShellApplication() = default;

StartupHooks ShellApplication::Hooks() {
  StartupHooks hooks = ProgramStartupHooks(options_.Folder);
  hooks.AnotherInstanceRunning = [this] { return !lock_.Acquire(); };
  if (options_.ShowSplash) {
    hooks.ShowSplash = [this] {
      splash_ = std::make_unique<frmSplash>();
      splash_->show();
      QApplication::processEvents();
    };
  }
  hooks.CloseSplash = [this] { splash_.reset(); };
  hooks.PumpMessages = [] { QApplication::processEvents(); };
  return hooks;
}

StartupOutcome ShellApplication::Start(UiServices& ui, Clock& clock) {
  const StartupOutcome outcome = Startup(Hooks(), ui, clock, options_.SplashMinimumSeconds);
  if (outcome != StartupOutcome::Running) return outcome;
  mainWindow_ = std::make_unique<frmMainMDI>();
  mainWindow_->SetExitSteps(ProgramShutdownHooks());
  mainWindow_->show();
  return outcome;
}

}  // namespace quendrel

// The program as a whole on Qt: the instance lock, the splash, the start-up and exit steps and
// the main window, put together in the order start-up asks for.
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "shell/Startup.h"
#include "shell/qt/SingleInstanceLock.h"

namespace quendrel {

class Clock;
class UiServices;
class frmMainMDI;
class frmSplash;

class ShellApplication {
 public:
  struct Options {
    std::string Folder;                    // the program folder; the current directory when empty
    double SplashMinimumSeconds = 3.0;     // tests and benchmarks use 0
    bool ShowSplash = true;
    QString LockPath = SingleInstanceLock::DefaultPath();
  };

  explicit ShellApplication(Options options);
  ~ShellApplication();
  ShellApplication(const ShellApplication&) = delete;
  ShellApplication& operator=(const ShellApplication&) = delete;

  // Runs start-up; on Running the main window is open and the program's exit steps are set on
  // it. Any other outcome means the program ends (the user has been told why).
  StartupOutcome Start(UiServices& ui, Clock& clock);

  // nullptr until Start succeeded.
  frmMainMDI* MainWindow() const { return mainWindow_.get(); }

 private:
  StartupHooks Hooks();

  Options options_;
  SingleInstanceLock lock_;
  std::unique_ptr<frmSplash> splash_;
  std::unique_ptr<frmMainMDI> mainWindow_;
};

}  // namespace quendrel

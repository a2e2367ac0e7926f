#include "shell/Startup.h"

#include <algorithm>
#include <exception>

#include "foundation/settings/Config.h"
#include "foundation/settings/ParseBoolean.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "shell/AppGlobals.h"
#include "widgets/TreeIcons.h"

namespace quendrel {

namespace {

constexpr const char* kUnknownStartupError = "Unknown error during program startup.";
constexpr const char* kUnableToRun = "Unable to run Quendrel.";
constexpr double kSplashPumpSeconds = 0.02;
// The scan list keeps a file it could not read from being replaced at exit; the user is told so.
constexpr const char* kScanListKept = "The file will not be written over when Quendrel exits.";

void Run(const std::function<void()>& hook) {
  if (hook) hook();
}

// A scan list that cannot be read costs the user the last session's selection, not the
// program, so start-up goes on without it.
void LoadScanListIfPresent(const StartupHooks& hooks, UiServices& ui) {
  const std::string path = Config().Value("SCPPath", "Files");
  if (path.empty() || !hooks.LoadScanList) return;
  if (hooks.FileExists && !hooks.FileExists(path)) return;
  try {
    hooks.LoadScanList(path);
  } catch (const std::exception& error) {
    ui.MsgBox("Unable to load the scan list file \"" + path + "\":\n\n" + error.what() + "\n\n" +
                  kScanListKept,
              vbExclamation, "Scan List Error");
  }
}

void LoadTemplates(const StartupHooks& hooks, UiServices& ui) {
  if (!hooks.LoadFunctionTemplates || hooks.LoadFunctionTemplates()) return;
  ui.MsgBox("Unable to load function template data.", vbCritical, "Internal Data Error");
}

void ReportFailure(UiServices& ui, const std::string& reason) {
  ui.MsgBox(reason + "\n\n" + kUnableToRun, vbCritical, "Critical Error");
}

}  // namespace

int InitialiseProgram(const StartupHooks& hooks, UiServices& ui) {
  Run(hooks.BuildCrcTables);
  Run(hooks.LoadSettings);
  SetUseIcons(ParseBoolean(Config().Value("UseIcons", "General")));
  Run(hooks.StartCommunications);
  LoadScanListIfPresent(hooks, ui);
  LoadTemplates(hooks, ui);
  const std::string compatibilityPath = Config().Value("FC2Path", "Files");
  if (compatibilityPath.empty()) return StartupErrorNoCompatibilityFile;
  if (hooks.LoadCompatibilityFile) hooks.LoadCompatibilityFile(compatibilityPath);
  Run(hooks.CreateScriptParser);
  return 0;
}

void WaitForSplash(Clock& clock, double shownAt, double minimumSeconds,
                   const std::function<void()>& pump) {
  for (;;) {
    const double remaining = minimumSeconds - (clock.MonotonicSeconds() - shownAt);
    if (remaining <= 0.0) return;
    Run(pump);
    clock.Sleep(std::min(remaining, kSplashPumpSeconds));
  }
}

StartupOutcome Startup(const StartupHooks& hooks, UiServices& ui, Clock& clock,
                       double splashMinimumSeconds) {
  if (hooks.AnotherInstanceRunning && hooks.AnotherInstanceRunning()) {
    ui.MsgBox("Quendrel is already running.", vbCritical, "Error");
    return StartupOutcome::AlreadyRunning;
  }
  Run(hooks.SetGlobals);
  Run(hooks.ShowSplash);
  const double shownAt = clock.MonotonicSeconds();

  int error = 0;
  std::string reason = kUnknownStartupError;
  try {
    error = InitialiseProgram(hooks, ui);
  } catch (const std::exception& failure) {
    error = -1;
    reason = failure.what();
  }
  if (error != 0) {
    Run(hooks.CloseSplash);
    ReportFailure(ui, reason);
    return StartupOutcome::Failed;
  }
  WaitForSplash(clock, shownAt, splashMinimumSeconds, hooks.PumpMessages);
  Run(hooks.CloseSplash);
  return StartupOutcome::Running;
}

}  // namespace quendrel

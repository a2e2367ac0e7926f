#include "shell/Shutdown.h"

#include <exception>

#include "foundation/settings/Config.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

void Run(const std::function<void()>& hook) {
  if (hook) hook();
}

// The scan list is a convenience; losing it must not cost the user the settings as well.
void SaveScanList(const ShutdownHooks& hooks, UiServices& ui) {
  if (!hooks.SaveScanList) return;
  const std::string path = Config().Value("SCPPath", "Files");
  try {
    hooks.SaveScanList(path);
  } catch (const std::exception& error) {
    ui.MsgBox("Unable to save the scan list file \"" + path + "\":\n\n" + error.what(),
              vbExclamation, "Scan List Error");
  }
}

}  // namespace

bool Shutdown(const ShutdownHooks& hooks, UiServices& ui) {
  if (hooks.CloseChildWindows && !hooks.CloseChildWindows()) return false;
  Run(hooks.SavePlacement);
  Run(hooks.ShutdownCommunications);
  SaveScanList(hooks, ui);
  if (hooks.SaveSettings) hooks.SaveSettings();
  return true;
}

}  // namespace quendrel

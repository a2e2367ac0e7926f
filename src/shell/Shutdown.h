// Program exit in its fixed order: child windows first (any may refuse), then the window
// placement, the communication modules, the scan list and last the INI file, each step a hook
// so the order and the save rules run without a display.
#pragma once

#include <functional>
#include <string>

namespace quendrel {

class UiServices;

// An empty hook is a step with nothing to do.
struct ShutdownHooks {
  // False when a child window refused to close (unsaved data the user kept).
  std::function<bool()> CloseChildWindows;
  std::function<void()> SavePlacement;
  std::function<void()> ShutdownCommunications;
  // Throws when the file cannot be written; the INI file is saved all the same.
  std::function<void(const std::string& path)> SaveScanList;
  // Writes the user's settings to the file they were read from.
  std::function<bool()> SaveSettings;
};

// False when the program must keep running because a child window refused to close; nothing
// after that step has happened then.
bool Shutdown(const ShutdownHooks& hooks, UiServices& ui);

}  // namespace quendrel

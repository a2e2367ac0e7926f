// Program start in its fixed order: the single-instance check, the globals, the splash, the
// initialisation of every global service and the splash's minimum time, each step a hook so
// the order and every failure path run without a display.
#pragma once

#include <functional>
#include <string>

namespace quendrel {

class Clock;
class UiServices;

// An empty hook is a step with nothing to do.
struct StartupHooks {
  std::function<bool()> AnotherInstanceRunning;
  // Program folder, product texts, the global scan list and random generator.
  std::function<void()> SetGlobals;
  std::function<void()> ShowSplash;
  std::function<void()> CloseSplash;
  std::function<void()> BuildCrcTables;
  // The built-in defaults and the user's INI file from the program folder.
  std::function<void()> LoadSettings;
  // Registers, starts and selects the communication modules.
  std::function<void()> StartCommunications;
  std::function<bool(const std::string& path)> FileExists;
  // Throws when the file cannot be read; start-up reports it and goes on.
  std::function<void(const std::string& path)> LoadScanList;
  // False when the built-in template text cannot be read.
  std::function<bool()> LoadFunctionTemplates;
  std::function<void(const std::string& path)> LoadCompatibilityFile;
  std::function<void()> CreateScriptParser;
  // Lets the splash paint while start-up waits for its minimum time.
  std::function<void()> PumpMessages;
};

enum class StartupOutcome { Running, AlreadyRunning, Failed };

inline constexpr int StartupErrorNoCompatibilityFile = 52;

// Runs every step of the initialisation; 0 when the program can run, else the error number
// (52 when [Files] FC2Path is empty). Reads [General] UseIcons itself. Messages about a scan
// list or template data that cannot be read are shown here; start-up goes on after them.
int InitialiseProgram(const StartupHooks& hooks, UiServices& ui);

// The whole start-up. Failed and AlreadyRunning mean the program ends now; the user has been
// told why. The splash stays up at least splashMinimumSeconds from when it was shown.
StartupOutcome Startup(const StartupHooks& hooks, UiServices& ui, Clock& clock,
                       double splashMinimumSeconds);

// Keeps pumping until the clock says minimumSeconds have passed since shownAt.
void WaitForSplash(Clock& clock, double shownAt, double minimumSeconds,
                   const std::function<void()>& pump);

}  // namespace quendrel

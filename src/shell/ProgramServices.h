// The real program's start-up and exit steps that need no window: globals, checksums,
// settings, communications, templates, the compatibility file, the scan list and the script
// parser. The Qt side adds the instance lock, the splash and the main window.
#pragma once

#include <string>

#include "shell/Shutdown.h"
#include "shell/Startup.h"

namespace quendrel {

// The name of the user's settings file in the program folder.
inline constexpr const char* SettingsFileName = "Quendrel.INI";

// Steps for a program started in folder (the current directory for the real program).
StartupHooks ProgramStartupHooks(const std::string& folder);
ShutdownHooks ProgramShutdownHooks();

// The built-in defaults anew and the user's file from the program folder behind them.
void LoadProgramSettings();

// A path as written in the settings: relative ones are relative to the program folder.
std::string ResolveProgramPath(const std::string& path);

}  // namespace quendrel

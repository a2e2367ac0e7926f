#include "shell/ProgramServices.h"

#include <filesystem>
#include <system_error>

#include "comms/CommServer.h"
#include "flash/ScriptParser.h"
#include "foundation/Config.h"
#include "foundation/Crc16.h"
#include "foundation/FileCipher.h"
#include "foundation/RandomGenerator.h"
#include "shell/AppGlobals.h"

namespace quendrel {

namespace {

// The Ethernet module registers itself in CommServer() once it exists; nothing to add here.
void RegisterModules() { CommServer(); }

bool ProgramFileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(ResolveProgramPath(path), ignored);
}

}  // namespace

std::string ResolveProgramPath(const std::string& path) {
  if (path.empty() || std::filesystem::path(path).is_absolute()) return path;
  return AppFolder() + path;
}

void LoadProgramSettings() {
  ResetConfig();
  Config().Load(AppFolder() + SettingsFileName);
}

StartupHooks ProgramStartupHooks(const std::string& folder) {
  StartupHooks hooks;
  hooks.SetGlobals = [folder] {
    SetAppFolder(folder);
    Random();
    // The global scan list arrives with the graph area; it is made here, before initialisation.
  };
  hooks.BuildCrcTables = [] {
    // The checksum and cipher tables are made on first use; making them now keeps that cost
    // out of the first drive exchange.
    Crc16("");
    DecryptString("");
  };
  hooks.LoadSettings = LoadProgramSettings;
  hooks.StartCommunications = [] {
    RegisterModules();
    CommServer().Startup();
  };
  hooks.FileExists = ProgramFileExists;
  // Scan list (graph area), function templates and the compatibility file (parameter area)
  // plug in here as they arrive: LoadScanList, LoadFunctionTemplates, LoadCompatibilityFile.
  hooks.CreateScriptParser = [] { CreateScriptParser(); };
  return hooks;
}

ShutdownHooks ProgramShutdownHooks() {
  ShutdownHooks hooks;
  hooks.ShutdownCommunications = [] { CommServer().Shutdown(); };
  // SaveScanList plugs in with the graph area's scan list.
  hooks.SaveSettings = [] { return Config().Save(); };
  return hooks;
}

}  // namespace quendrel

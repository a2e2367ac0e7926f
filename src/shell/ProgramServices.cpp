#include "shell/ProgramServices.h"

#include <filesystem>
#include <system_error>

#include "comms/functions/FunctionTemplates.h"
#include "comms/server/CommServer.h"
#include "flash/language/ScriptParser.h"
#include "foundation/files/FileCipher.h"
#include "foundation/settings/Config.h"
#include "foundation/values/Crc16.h"
#include "foundation/values/RandomGenerator.h"
#include "graph/data/ScanList.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "resources/BuiltInText.h"
#include "shell/AppGlobals.h"

namespace quendrel {

namespace {

constexpr int kFunctionTemplateResource = 102;

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
    CreateScanList(AppFolder());
  };
  hooks.BuildCrcTables = [] {
    // The checksum and cipher tables are made on first use; making them now keeps that cost
    // out of the first drive exchange.
    Crc16("");
    DecryptString("");
  };
  hooks.LoadSettings = LoadProgramSettings;
  // The registry holds the serial and Ethernet modules from its first use.
  hooks.StartCommunications = [] { CommServer().Startup(); };
  hooks.FileExists = ProgramFileExists;
  // The program folder stands for the current directory at start-up, which the user may have
  // left by the time a later window asks.
  hooks.LoadScanList = [](const std::string& path) { ScanList().Load(ResolveProgramPath(path)); };
  // Start-up itself tells the user when the templates cannot be read, so the quiet form is used.
  hooks.LoadFunctionTemplates = [] {
    const std::optional<std::string> text = BuiltInText(kFunctionTemplateResource);
    return text && LoadFunctionTemplates(*text);
  };
  // A missing or unreadable file leaves the compatibility file empty: drives are then served by
  // the built-in parameter numbers alone.
  hooks.LoadCompatibilityFile = [](const std::string& path) {
    FirmwareCompatibility().Load(ResolveProgramPath(path));
  };
  hooks.CreateScriptParser = [] { CreateScriptParser(); };
  return hooks;
}

ShutdownHooks ProgramShutdownHooks() {
  ShutdownHooks hooks;
  hooks.ShutdownCommunications = [] { CommServer().Shutdown(); };
  hooks.SaveScanList = [](const std::string& path) { ScanList().Save(path); };
  hooks.SaveSettings = [] { return Config().Save(); };
  return hooks;
}

}  // namespace quendrel

// The program-wide services a running script reaches, gathered so tests can give a script its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "comms/functions/dfResponseCodes.h"
#include "foundation/values/Variant.h"

namespace quendrel {

class Clock;
class EthernetModule;
class GIOServer;
class IFlashCommandFile;
class INIFile;
class ParseEngine;
class ProgressServer;
class SerialModule;
class UiServices;

// The built-ins that talk to a drive and the drive-function call, given the lower-cased name (the
// name as written for a drive function), the argument values and names.
using DriveCommandHandler =
    std::function<Variant(const std::string& name, const std::vector<Variant>& values,
                          const std::vector<Variant>& names, IFlashCommandFile& ffile, ProgressServer* prog,
                          dfResponseCodes& ErrCode)>;

struct ScriptEnvironment {
  UiServices* ui = nullptr;
  Clock* clock = nullptr;
  ParseEngine* parser = nullptr;
  // Drive functions go to the drive through their templates; a host that routes them itself (a
  // recording test) sets this, and it takes them all.
  DriveCommandHandler driveCommands;
  // What the communication and settings system variables read and change. Without one, the
  // variables that need it read as empty and assignments to them change nothing.
  GIOServer* commServer = nullptr;
  SerialModule* serial = nullptr;
  EthernetModule* ethernet = nullptr;
  INIFile* settings = nullptr;
  // How long the flash loader may take to answer synchronisation or acknowledge a transfer.
  double loaderWaitSeconds = 30.0;

  // The program's own: Ui(), CurrentClock(), ScriptParser(), CommServer() with its two modules and
  // Config().
  static ScriptEnvironment Global();
};

}  // namespace quendrel

// The program's one module registry and its serial module, created on first use.
#pragma once

#include "comms/GIOServer.h"
#include "comms/SerialModule.h"

namespace quendrel {

// Holds "None" and "Serial"; the shell calls Startup() once settings are loaded.
GIOServer& CommServer();
// The serial module registered in CommServer(), for the scripts and the settings dialog.
SerialModule& GlobalSerialModule();

}  // namespace quendrel

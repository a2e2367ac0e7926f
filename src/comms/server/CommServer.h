// The program's one module registry and its serial and Ethernet modules, created on first use.
#pragma once

#include "comms/modules/EthernetModule.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"

namespace quendrel {

// Holds "None", "Serial" and "Ethernet"; the shell calls Startup() once settings are loaded.
GIOServer& CommServer();
// The serial module registered in CommServer(), for the scripts and the settings dialog.
SerialModule& GlobalSerialModule();
// The Ethernet module registered in CommServer(), for the scripts and the settings dialog.
EthernetModule& GlobalEthernetModule();

}  // namespace quendrel

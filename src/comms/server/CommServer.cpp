#include "comms/server/CommServer.h"

#include <memory>

#include "platform/Clock.h"

namespace quendrel {

GIOServer& CommServer() {
  static GIOServer server(SystemClockInstance());
  static const bool registered = [] {
    server.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance()));
    server.RegisterModule(std::make_unique<EthernetModule>(SystemClockInstance()));
    return true;
  }();
  static_cast<void>(registered);
  return server;
}

SerialModule& GlobalSerialModule() { return static_cast<SerialModule&>(*CommServer().Module("Serial")); }

EthernetModule& GlobalEthernetModule() {
  return static_cast<EthernetModule&>(*CommServer().Module("Ethernet"));
}

}  // namespace quendrel

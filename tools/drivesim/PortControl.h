// What the control channel may do to the simulator's port and process.
#pragma once

#include <string>

namespace quendrel {

class PortControl {
 public:
  virtual ~PortControl() = default;
  // The port vanishes: a client's open handle fails and opening its path fails.
  virtual void ClosePort() = 0;
  // Brings the port back; returns the path to open, or "" when that failed.
  virtual std::string ReopenPort() = 0;
  virtual void Quit() = 0;
  // Drops every TCP client, as an interface that restarts would.
  virtual void DisconnectClients() = 0;
  // "tcp <port> rtu-tcp <port>", naming only the listeners there are.
  virtual std::string Ports() const = 0;
};

}  // namespace quendrel

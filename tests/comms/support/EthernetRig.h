// A simulated drive serving both TCP protocols in a child process, with a registry whose Ethernet
// module is pointed at it on the loopback interface.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "comms/EthernetModule.h"
#include "comms/GIOContext.h"
#include "comms/GIOServer.h"
#include "drivesim/DriveSimProcess.h"

namespace quendrel {

class EthernetRig {
 public:
  // Short, so a fault costs little, and long enough for a loaded machine.
  static constexpr double kTimeout = 0.4;

  struct Options {
    int protocol = EthernetModule::kModbusTcp;
    // Given: the drive asks for a login with this password, and the module logs in with it.
    std::optional<std::string> password;
    std::vector<std::string> simulatorArguments;
  };

  explicit EthernetRig(Options options);
  ~EthernetRig();

  void SetEthernetRetries(int retries);
  void SetGeneralRetries(int retries);
  // Points the module at the port of the given protocol.
  void UseProtocol(int protocol);

  DriveSimProcess& Sim() { return *sim_; }
  GIOServer& Server() { return server_; }
  EthernetModule& Module() { return *module_; }
  GIOContext& Context() { return *context_; }

 private:
  std::unique_ptr<DriveSimProcess> sim_;
  GIOServer server_;
  EthernetModule* module_ = nullptr;
  std::shared_ptr<GIOContext> context_;
};

}  // namespace quendrel

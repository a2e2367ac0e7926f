// A simulated drive serving both TCP protocols with a registry whose Ethernet module is pointed at
// it on the loopback interface.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comms/modules/EthernetModule.h"
#include "comms/support/DriveRig.h"

namespace quendrel {

class EthernetRig final : public DriveRig {
 public:
  struct Options {
    int protocol = EthernetModule::kModbusTcp;
    // Given: the drive asks for a login with this password, and the module logs in with it.
    std::optional<std::string> password;
    std::vector<std::string> simulatorArguments;
  };

  explicit EthernetRig(Options options);
  static Options OnProtocol(int protocol);

  void SetEthernetRetries(int retries);
  void SetTimeout(double seconds) override;
  // Points the module at the port of the given protocol.
  void UseProtocol(int protocol);

  EthernetModule& Module() { return *module_; }

 private:
  EthernetModule* module_ = nullptr;
};

}  // namespace quendrel

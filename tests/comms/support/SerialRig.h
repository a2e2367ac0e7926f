// A simulated drive on a pseudo-terminal with a registry whose serial module is pointed at it.
#pragma once

#include <string>
#include <vector>

#include "comms/modules/SerialModule.h"
#include "comms/support/DriveRig.h"

namespace quendrel {

class SerialRig final : public DriveRig {
 public:
  explicit SerialRig(std::vector<std::string> simulatorArguments = {});

  // [Serial Port] settings, read by the module at each exchange.
  void SetSerialRetries(int retries);
  void SetTimeout(double seconds) override;
  void SetLocalEcho(bool on);

  SerialModule& Module() { return *module_; }

 private:
  SerialModule* module_ = nullptr;
};

}  // namespace quendrel

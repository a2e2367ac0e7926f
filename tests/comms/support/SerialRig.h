// A simulated drive in a child process with a registry whose serial module is pointed at it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "comms/GIOContext.h"
#include "comms/GIOServer.h"
#include "comms/SerialModule.h"
#include "drivesim/DriveSimProcess.h"

namespace quendrel {

class SerialRig {
 public:
  // Timeouts are short so a fault costs little, and long enough for a loaded machine.
  static constexpr double kTimeout = 0.4;

  explicit SerialRig(std::vector<std::string> simulatorArguments = {});
  ~SerialRig();

  // [Serial Port] settings, read by the module at each exchange.
  void SetSerialRetries(int retries);
  void SetGeneralRetries(int retries);
  void SetTimeout(double seconds);
  void SetLocalEcho(bool on);

  DriveSimProcess& Sim() { return *sim_; }
  GIOServer& Server() { return server_; }
  SerialModule& Module() { return *module_; }
  GIOContext& Context() { return *context_; }
  std::shared_ptr<GIOContext> OpenContext(float timeout = -1.0F) { return server_.OpenContext(1, timeout); }

 private:
  std::unique_ptr<DriveSimProcess> sim_;
  GIOServer server_;
  SerialModule* module_ = nullptr;
  std::shared_ptr<GIOContext> context_;
};

}  // namespace quendrel

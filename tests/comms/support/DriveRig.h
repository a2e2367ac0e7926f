// A simulated drive in a child process and a registry whose selected transport is pointed at it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "comms/modules/GIOModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"

namespace quendrel {

class DriveRig {
 public:
  // Timeouts are short so a fault costs little, and long enough for a loaded machine.
  static constexpr double kTimeout = 0.4;

  virtual ~DriveRig();
  DriveRig(const DriveRig&) = delete;
  DriveRig& operator=(const DriveRig&) = delete;

  void SetGeneralRetries(int retries);
  // The transport's own Timeout setting, read by the module at each exchange.
  virtual void SetTimeout(double seconds) = 0;

  DriveSimProcess& Sim() { return *sim_; }
  GIOServer& Server() { return server_; }
  GIOModule& Transport() { return *transport_; }
  GIOContext& Context() { return *context_; }
  std::shared_ptr<GIOContext> OpenContext(float timeout = -1.0F) { return server_.OpenContext(1, timeout); }

 protected:
  // Starts the simulator and resets the settings to their defaults.
  explicit DriveRig(std::vector<std::string> simulatorArguments);
  // Registers, starts and selects the transport, and opens the rig's context.
  GIOModule& Install(std::unique_ptr<GIOModule> transport);

 private:
  std::unique_ptr<DriveSimProcess> sim_;
  GIOServer server_;
  GIOModule* transport_ = nullptr;
  std::shared_ptr<GIOContext> context_;
};

}  // namespace quendrel

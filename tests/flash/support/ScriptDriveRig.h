// The simulated drive on a pseudo-terminal, its compatibility file loaded as the program's own, and a
// registry whose serial module talks to it: the drive a script's transfers and drive functions reach.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"

namespace quendrel {

class ScriptDriveRig {
 public:
  // Short, so a lost drive costs little, and long enough for a loaded machine.
  static constexpr float kTimeout = 0.4F;

  explicit ScriptDriveRig(std::vector<std::string> simulatorArguments = {});
  ~ScriptDriveRig();
  ScriptDriveRig(const ScriptDriveRig&) = delete;
  ScriptDriveRig& operator=(const ScriptDriveRig&) = delete;

  DriveSimProcess& Sim() { return *sim_; }
  GIOServer& Server() { return server_; }

 private:
  std::unique_ptr<DriveSimProcess> sim_;
  GIOServer server_;
};

}  // namespace quendrel

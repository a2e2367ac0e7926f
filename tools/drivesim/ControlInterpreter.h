// Carries out the simulator's control commands, one line in, one answer line out.
#pragma once

#include <string>
#include <string_view>

#include "drivesim/PortControl.h"
#include "drivesim/SimTime.h"
#include "drivesim/SimulatorCore.h"

namespace quendrel {

class ControlInterpreter {
 public:
  ControlInterpreter(SimulatorCore& core, PortControl& port) : core_(core), port_(port) {}

  // The answer to one command line (without its line end); see README.md for the commands.
  std::string Execute(std::string_view line, SimTime now);

 private:
  SimulatorCore& core_;
  PortControl& port_;
};

}  // namespace quendrel

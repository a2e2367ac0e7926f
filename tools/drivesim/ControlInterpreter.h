// Carries out the simulator's control commands, one line in, one answer line out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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
  using Words = std::vector<std::string>;

  std::string Stats(const Words& words);
  std::string Count(const Words& words);
  std::string Fault(const Words& words, std::string_view line);
  std::string Seed(const Words& words);
  std::string Parameter(const Words& words);
  std::string Switch(const Words& words);
  std::string Mode(const Words& words);
  std::string Address(const Words& words);
  std::string Baud(const Words& words);
  std::string Send(const Words& words, SimTime now);
  std::string Port(const Words& words);

  SimulatorCore& core_;
  PortControl& port_;
};

}  // namespace quendrel

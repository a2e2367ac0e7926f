// Runs the simulated drive: its port, its control channel and its clock in one poll loop.
#pragma once

#include <memory>
#include <string>

#include "drivesim/ControlInterpreter.h"
#include "drivesim/PortControl.h"
#include "drivesim/PseudoTerminal.h"
#include "drivesim/SimulatorCore.h"

namespace quendrel {

class SimulatorLoop : public PortControl {
 public:
  // Control commands arrive on controlIn, their answers go to controlOut.
  SimulatorLoop(SimulatorCore& core, std::string linkPath, int controlIn, int controlOut);

  bool Start(std::string& error);
  std::string DevicePath() const { return terminal_ ? terminal_->DevicePath() : std::string(); }
  // Serves until "quit" or the end of the control input.
  void Run();

  void ClosePort() override;
  std::string ReopenPort() override;
  void Quit() override { quit_ = true; }

 private:
  void ReadControl(SimTime now);
  void ReadPort(SimTime now);
  void Deliver(SimTime now);
  void Flush();
  void Answer(const std::string& line);

  SimulatorCore& core_;
  ControlInterpreter interpreter_;
  std::string linkPath_;
  int controlIn_;
  int controlOut_;
  std::unique_ptr<PseudoTerminal> terminal_;
  std::string controlBuffer_;
  std::string unsent_;
  bool quit_ = false;
};

}  // namespace quendrel

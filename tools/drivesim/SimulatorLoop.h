// Runs the simulated drive: its serial port, TCP listeners, control channel and clock in one
// poll loop.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drivesim/ControlInterpreter.h"
#include "drivesim/PortControl.h"
#include "drivesim/PseudoTerminal.h"
#include "drivesim/SimulatorCore.h"
#include "drivesim/SimTcpConnection.h"
#include "drivesim/TcpListener.h"

namespace quendrel {

class SimulatorLoop : public PortControl {
 public:
  // Control commands arrive on controlIn, their answers go to controlOut.
  SimulatorLoop(SimulatorCore& core, std::string linkPath, int controlIn, int controlOut);

  bool Start(std::string& error);
  // Listens for TCP clients framed as given; port 0 lets the system choose. The chosen port, or -1.
  int Listen(Framing framing, int port, std::string& error);
  std::string DevicePath() const { return terminal_ ? terminal_->DevicePath() : std::string(); }
  // Serves until "quit" or the end of the control input.
  void Run();

  void ClosePort() override;
  std::string ReopenPort() override;
  void Quit() override { quit_ = true; }
  void DisconnectClients() override;
  std::string Ports() const override;

 private:
  struct Listener {
    std::unique_ptr<TcpListener> socket;
    Framing framing;
  };
  // What each polled descriptor stands for.
  enum class Source { Control, Port, Listener, Connection };

  void ReadControl(SimTime now);
  void ReadPort(SimTime now);
  void Accept(const Listener& listener, SimTime now);
  void ReadConnection(int channel, SimTime now);
  void Deliver(SimTime now);
  void Perform(LineEvent& event);
  void Drop(int channel);
  void Flush();
  void Answer(const std::string& line);

  SimulatorCore& core_;
  ControlInterpreter interpreter_;
  std::string linkPath_;
  int controlIn_;
  int controlOut_;
  std::unique_ptr<PseudoTerminal> terminal_;
  std::vector<Listener> listeners_;
  std::map<int, std::unique_ptr<SimTcpConnection>> connections_;  // by channel
  std::string controlBuffer_;
  std::string unsent_;
  bool quit_ = false;
};

}  // namespace quendrel

// A pseudo-terminal standing in for the drive's serial port; closing it makes the port vanish.
#pragma once

#include <memory>
#include <string>

namespace quendrel {

class PseudoTerminal {
 public:
  // Opens a raw-mode pseudo-terminal; when linkPath is not empty a symbolic link there names
  // its device, so a client keeps one path across close and reopen. Nothing on failure.
  static std::unique_ptr<PseudoTerminal> Open(const std::string& linkPath, std::string& error);

  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  int MasterFd() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }
  // The path a client opens: the link when there is one.
  const std::string& DevicePath() const { return linkPath_.empty() ? slavePath_ : linkPath_; }

 private:
  struct Key {};

 public:
  explicit PseudoTerminal(Key) {}

 private:

  int master_ = -1;
  // Held open so the master never sees a hang-up between two clients and the line settings
  // survive a client closing the port.
  int slave_ = -1;
  std::string slavePath_;
  std::string linkPath_;
};

}  // namespace quendrel

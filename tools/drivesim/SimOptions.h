// The simulator's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quendrel {

struct SimOptions {
  int address = 1;
  std::string tableFile;  // empty: the built-in table
  bool legacy = false;
  bool localEcho = false;  // echo every byte on the serial port, as a two-wire adapter does
  bool loader = false;     // start in the flash loader
  long baudRate = 0;      // 0: no line emulation
  unsigned seed = 1;
  std::vector<std::string> faults;  // rules as the "fault" command takes them
  std::string linkPath;   // a stable path for the port (see PseudoTerminal)
  int tcpPort = -1;       // Modbus/TCP on 127.0.0.1; 0: the system chooses; -1: none
  int rtuTcpPort = -1;    // serial frames over TCP, likewise
  std::optional<std::string> password;  // TCP clients must log in
  bool help = false;

  // Nothing, with error set, when the arguments do not make sense.
  static std::optional<SimOptions> Parse(const std::vector<std::string>& arguments, std::string& error);
  static const char* Usage();
};

}  // namespace quendrel

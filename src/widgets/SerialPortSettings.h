// The serial port dialog's settings: read from [Serial Port], checked, written back and put
// into effect, with the numbers kept as the user typed them until they are checked.
#pragma once

#include <string>

namespace quendrel {

class GIOServer;

struct SerialPortSettings {
  int ComPort = 0;         // index into the port list; 0 is COM1
  int BaudRate = 19200;    // bits per second, one of the ten rates
  int Parity = 0;          // 0 none, 1 odd, 2 even
  int DataBits = 8;
  int StopBits = 0;        // 0 one, 1 one and a half, 2 two
  std::string Timeout = "1";  // seconds
  std::string Retries = "0";  // extra sends after a timeout
  bool LocalEcho = false;

  static SerialPortSettings FromConfig();
  // "" when the settings can be used, else the message that tells the user what to fix.
  std::string Validate() const;
  // Writes every key of [Serial Port] this dialog edits; numbers in their plain text form.
  void WriteToConfig() const;
};

// "COM1" for port index 0.
std::string ComPortName(int index);

// Checks, writes and selects the serial module, which restarts it with the new settings. On a
// failed check nothing changes and the message is returned.
std::string ApplySerialPortSettings(const SerialPortSettings& settings, GIOServer& server);

}  // namespace quendrel

// The Ethernet dialog's settings: read from [Ethernet], checked, written back and put into
// effect, with the numbers kept as the user typed them until they are checked.
#pragma once

#include <string>

namespace quendrel {

class GIOServer;

struct EthernetSettings {
  std::string Host = "192.168.1.100";
  std::string Port = "502";
  int Protocol = 0;  // 0 Modbus/TCP, 1 RTU frames over TCP
  bool Authenticate = false;
  std::string Password;  // in clear here; only the INI file holds it enciphered
  std::string Timeout = "2";  // seconds
  std::string Retries = "0";

  static EthernetSettings FromConfig();
  // "" when the settings can be used, else the message that tells the user what to fix.
  std::string Validate() const;
  void WriteToConfig() const;
};

// Checks, writes and selects the Ethernet module, which restarts it with the new settings. On a
// failed check nothing changes and the message is returned; without an Ethernet module the
// settings are written and the message says they cannot be used.
std::string ApplyEthernetSettings(const EthernetSettings& settings, GIOServer& server);

}  // namespace quendrel

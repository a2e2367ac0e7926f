// The texts of the main window's status bar that describe the communications: which transport
// is selected and how, the last transport failure, and the drive response time.
#pragma once

#include <string>

namespace quendrel {

class GIOServer;

struct CommunicationsSummary {
  std::string Module = "None";  // "Serial", "Ethernet" or "None"
  int ComPort = 0;              // 0 is COM1
  std::string Device = "";      // the device COM1 stands for, "" when there is none
  int BaudRate = 19200;         // bits per second
  std::string Host = "";
  int Port = 502;
  int Protocol = 0;             // 0 Modbus/TCP, 1 RTU frames over TCP
  // The detail code (40-45) of the last exchange when the transport failed, else 0.
  int TransportError = 0;
};

// "Serial: COM1 (/dev/ttyUSB0) 19200 baud", "Ethernet: host:502 Modbus/TCP" or "No
// communications"; a transport failure follows as " - " and its text, since every window
// only ever sees a failure as "drive not responding".
std::string CommunicationsStatusText(const CommunicationsSummary& summary);

// The selected module's settings as they are now.
CommunicationsSummary SummariseCommunications(const GIOServer& server);

// "12 ms", rounded; "" before any exchange was measured.
std::string ResponseTimeText(double seconds);

}  // namespace quendrel

#include "shell/CommunicationsStatus.h"

#include "comms/modules/EthernetModule.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/CommSettings.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "foundation/text/BaudRate.h"
#include "foundation/text/NumberText.h"
#include "widgets/SerialPortSettings.h"

namespace quendrel {

namespace {

bool IsTransportError(int code) { return code >= gioPortOpenFailed && code <= gioReceiveFailed; }

// Another transport registered under the name: what the settings ask of it.
CommunicationsSummary SettingsOfEthernet(CommunicationsSummary summary) {
  summary.Host = CommSettings::Text("Host", "Ethernet", "");
  summary.Port = CommSettings::Integer("Port", "Ethernet", 502);
  summary.Protocol = CommSettings::Integer("Protocol", "Ethernet", 0);
  return summary;
}

std::string ProtocolText(int protocol) { return protocol == 1 ? "RTU over TCP" : "Modbus/TCP"; }

std::string Describe(const CommunicationsSummary& summary) {
  if (summary.Module == "Serial") {
    std::string text = "Serial: " + ComPortName(summary.ComPort);
    if (!summary.Device.empty()) text += " (" + summary.Device + ")";
    return text + " " + std::to_string(summary.BaudRate) + " baud";
  }
  if (summary.Module == "Ethernet") {
    return "Ethernet: " + summary.Host + ":" + std::to_string(summary.Port) + " " +
           ProtocolText(summary.Protocol);
  }
  return "No communications";
}

}  // namespace

std::string CommunicationsStatusText(const CommunicationsSummary& summary) {
  std::string text = Describe(summary);
  if (summary.Module != "None" && IsTransportError(summary.TransportError)) {
    text += " - " + GIOErrorText(summary.TransportError);
  }
  return text;
}

CommunicationsSummary SummariseCommunications(const GIOServer& server) {
  CommunicationsSummary summary;
  summary.Module = server.SelectedModule();
  summary.TransportError = server.LastTransportError();
  if (summary.Module == "Serial") {
    const auto* serial = dynamic_cast<const SerialModule*>(server.Module("Serial"));
    if (serial == nullptr) return summary;
    summary.ComPort = serial->ComPort();
    summary.Device = serial->DevicePath();
    summary.BaudRate = BaudRateFromIndex(serial->BaudRate());
  } else if (summary.Module == "Ethernet") {
    const auto* ethernet = dynamic_cast<const EthernetModule*>(server.Module("Ethernet"));
    if (ethernet == nullptr) return SettingsOfEthernet(summary);
    summary.Host = ethernet->Host();
    summary.Port = ethernet->Port();
    summary.Protocol = ethernet->Protocol();
  }
  return summary;
}

std::string ResponseTimeText(double seconds) {
  if (seconds <= 0.0) return "";
  return FormatNumber(seconds * 1000.0, "0") + " ms";
}

}  // namespace quendrel

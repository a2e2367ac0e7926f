// The status bar's communications texts: what the selected transport is, the last transport
// failure (which every window only sees as "not responding"), and the response time.
#include "shell/CommunicationsStatus.h"

#include <gtest/gtest.h>

#include <ostream>

#include <memory>

#include "comms/GIOServer.h"
#include "comms/SerialModule.h"
#include "foundation/Config.h"
#include "platform/FakeClock.h"

namespace quendrel {
namespace {

struct StatusCase {
  const char* name;
  CommunicationsSummary summary;
  std::string expected;
};

void PrintTo(const StatusCase& c, std::ostream* out) { *out << c.name; }

CommunicationsSummary Serial(int port, std::string device, int baud, int error = 0) {
  CommunicationsSummary summary;
  summary.Module = "Serial";
  summary.ComPort = port;
  summary.Device = std::move(device);
  summary.BaudRate = baud;
  summary.TransportError = error;
  return summary;
}

CommunicationsSummary Ethernet(std::string host, int port, int protocol, int error = 0) {
  CommunicationsSummary summary;
  summary.Module = "Ethernet";
  summary.Host = std::move(host);
  summary.Port = port;
  summary.Protocol = protocol;
  summary.TransportError = error;
  return summary;
}

CommunicationsSummary Nothing(int error = 0) {
  CommunicationsSummary summary;
  summary.TransportError = error;
  return summary;
}

class StatusTextTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusTextTest, DescribesTheSelectedTransport) {
  EXPECT_EQ(CommunicationsStatusText(GetParam().summary), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StatusTextTest,
    ::testing::Values(
        StatusCase{"SerialWithDevice", Serial(0, "/dev/ttyUSB0", 19200),
                   "Serial: COM1 (/dev/ttyUSB0) 19200 baud"},
        StatusCase{"SerialWithoutDevice", Serial(2, "", 9600), "Serial: COM3 9600 baud"},
        StatusCase{"ModbusTcp", Ethernet("192.168.1.100", 502, 0),
                   "Ethernet: 192.168.1.100:502 Modbus/TCP"},
        StatusCase{"RtuOverTcp", Ethernet("drive7", 4001, 1), "Ethernet: drive7:4001 RTU over TCP"},
        StatusCase{"NoModule", Nothing(), "No communications"},
        StatusCase{"PortCannotOpen", Serial(0, "/dev/ttyUSB0", 19200, 40),
                   "Serial: COM1 (/dev/ttyUSB0) 19200 baud - Unable to open communication port"},
        StatusCase{"ConnectionRefused", Ethernet("10.0.0.2", 502, 0, 41),
                   "Ethernet: 10.0.0.2:502 Modbus/TCP - Unable to connect to host"},
        StatusCase{"ReceiveFailed", Serial(0, "/dev/ttyS0", 19200, 45),
                   "Serial: COM1 (/dev/ttyS0) 19200 baud - Receive failed"},
        // Only transport failures belong on the status bar; a timeout is the drive's business.
        StatusCase{"TimeoutIsNotATransportFailure", Serial(0, "/dev/ttyS0", 19200, 46),
                   "Serial: COM1 (/dev/ttyS0) 19200 baud"},
        StatusCase{"NoModuleHasNoTransport", Nothing(40), "No communications"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResponseTimeText, ShowsWholeMillisecondsAndNothingBeforeTheFirstExchange) {
  EXPECT_EQ(ResponseTimeText(0.0), "");
  EXPECT_EQ(ResponseTimeText(0.0123), "12 ms");
  EXPECT_EQ(ResponseTimeText(0.0125), "13 ms");
  EXPECT_EQ(ResponseTimeText(1.5), "1500 ms");
}

TEST(SummariseCommunications, TakesTheSerialPortFromTheModuleAsConfigured) {
  ResetConfig();
  Config().SetValue("PortNames", "Serial Port", "/dev/ttyQA0;/dev/ttyQA1");
  Config().SetValue("ComPort", "Serial Port", "1");
  Config().SetValue("BaudRate", "Serial Port", "9600");
  FakeClock clock;
  GIOServer server(clock);
  server.RegisterModule(std::make_unique<SerialModule>(clock));
  server.SelectModule("Serial");
  EXPECT_EQ(CommunicationsStatusText(SummariseCommunications(server)),
            "Serial: COM2 (/dev/ttyQA1) 9600 baud");
  server.SelectModule("None");
  EXPECT_EQ(CommunicationsStatusText(SummariseCommunications(server)), "No communications");
  ResetConfig();
}

}  // namespace
}  // namespace quendrel

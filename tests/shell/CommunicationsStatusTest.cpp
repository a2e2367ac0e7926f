// The status bar's communications texts: what the selected transport is, the last transport
// failure (which every window only sees as "not responding"), and the response time.
#include "shell/CommunicationsStatus.h"

#include <gtest/gtest.h>

#include <ostream>

#include <memory>

#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"

namespace quendrel {
namespace {

struct StatusCase {
  const char* name;
  CommunicationsSummary summary;
  std::string expected;
};

void PrintTo(const StatusCase& c, std::ostream* out) { *out << c.name; }

class StatusTextTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusTextTest, DescribesTheSelectedTransport) {
  EXPECT_EQ(CommunicationsStatusText(GetParam().summary), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StatusTextTest,
    ::testing::Values(
        StatusCase{"SerialWithDevice", {.Module = "Serial", .Device = "/dev/ttyUSB0"},
                   "Serial: COM1 (/dev/ttyUSB0) 19200 baud"},
        StatusCase{"SerialWithoutDevice", {.Module = "Serial", .ComPort = 2, .BaudRate = 9600},
                   "Serial: COM3 9600 baud"},
        StatusCase{"ModbusTcp", {.Module = "Ethernet", .Host = "192.168.1.100"},
                   "Ethernet: 192.168.1.100:502 Modbus/TCP"},
        StatusCase{"RtuOverTcp", {.Module = "Ethernet", .Host = "drive7", .Port = 4001, .Protocol = 1},
                   "Ethernet: drive7:4001 RTU over TCP"},
        StatusCase{"NoModule", {}, "No communications"},
        StatusCase{"PortCannotOpen", {.Module = "Serial", .Device = "/dev/ttyUSB0", .TransportError = 40},
                   "Serial: COM1 (/dev/ttyUSB0) 19200 baud - Unable to open communication port"},
        StatusCase{"ConnectionRefused", {.Module = "Ethernet", .Host = "10.0.0.2", .TransportError = 41},
                   "Ethernet: 10.0.0.2:502 Modbus/TCP - Unable to connect to host"},
        StatusCase{"ReceiveFailed", {.Module = "Serial", .TransportError = 45},
                   "Serial: COM1 19200 baud - Receive failed"},
        // Only transport failures belong on the status bar; a timeout is the drive's business.
        StatusCase{"TimeoutIsNotATransportFailure", {.Module = "Serial", .TransportError = 46},
                   "Serial: COM1 19200 baud"},
        StatusCase{"NoModuleHasNoTransport", {.TransportError = 40}, "No communications"}),
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

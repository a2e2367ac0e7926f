// The checks of the two configuration dialogs' settings: each entry a user can get wrong is
// refused with a message naming what to fix, and the limits themselves are accepted.
#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "foundation/settings/Config.h"
#include "widgets/EthernetSettings.h"
#include "widgets/SerialPortSettings.h"

namespace quendrel {
namespace {

// One of the two changes is set: it spoils (or stretches) the defaults of that dialog.
struct CheckCase {
  const char* name;
  void (*serial)(SerialPortSettings&);
  void (*ethernet)(EthernetSettings&);
  const char* messageWord;  // "" when the settings must be accepted
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

std::string Validate(const CheckCase& c) {
  if (c.serial != nullptr) {
    SerialPortSettings settings;
    c.serial(settings);
    return settings.Validate();
  }
  EthernetSettings settings;
  c.ethernet(settings);
  return settings.Validate();
}

class SettingsCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SettingsCheckTest, RefusesWhatCannotBeUsedAndSaysWhy) {
  const std::string message = Validate(GetParam());
  if (*GetParam().messageWord == '\0') {
    EXPECT_EQ(message, "");
  } else {
    EXPECT_NE(message.find(GetParam().messageWord), std::string::npos) << message;
  }
}

using S = SerialPortSettings;
using E = EthernetSettings;

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsCheckTest,
    ::testing::Values(
        CheckCase{"SerialZeroTimeout", [](S& s) { s.Timeout = "0"; }, nullptr, "timeout"},
        CheckCase{"SerialNegativeTimeout", [](S& s) { s.Timeout = "-1"; }, nullptr, "timeout"},
        CheckCase{"SerialTextTimeout", [](S& s) { s.Timeout = "soon"; }, nullptr, "timeout"},
        CheckCase{"SerialEmptyTimeout", [](S& s) { s.Timeout = ""; }, nullptr, "timeout"},
        CheckCase{"SerialFractionalRetries", [](S& s) { s.Retries = "1.5"; }, nullptr, "Retries"},
        CheckCase{"SerialNegativeRetries", [](S& s) { s.Retries = "-1"; }, nullptr, "Retries"},
        CheckCase{"SerialTooManyRetries", [](S& s) { s.Retries = "101"; }, nullptr, "Retries"},
        CheckCase{"SerialOddBaudRate", [](S& s) { s.BaudRate = 12345; }, nullptr, "baud"},
        CheckCase{"SerialNoPort", [](S& s) { s.ComPort = -1; }, nullptr, "port"},
        CheckCase{"SerialBeyondCom256", [](S& s) { s.ComPort = 256; }, nullptr, "port"},
        CheckCase{"SerialCom256", [](S& s) { s.ComPort = 255; }, nullptr, ""},
        CheckCase{"SerialHourTimeout", [](S& s) { s.Timeout = "3600"; }, nullptr, ""},
        CheckCase{"SerialTimeoutOverAnHour", [](S& s) { s.Timeout = "3600.5"; }, nullptr, "3600"},
        CheckCase{"EthernetEmptyHost", nullptr, [](E& e) { e.Host = " \t"; }, "host"},
        CheckCase{"EthernetPortZero", nullptr, [](E& e) { e.Port = "0"; }, "port"},
        CheckCase{"EthernetPortTooHigh", nullptr, [](E& e) { e.Port = "65536"; }, "port"},
        CheckCase{"EthernetPortText", nullptr, [](E& e) { e.Port = "http"; }, "port"},
        CheckCase{"EthernetPortFraction", nullptr, [](E& e) { e.Port = "502.5"; }, "port"},
        CheckCase{"EthernetLowestPort", nullptr, [](E& e) { e.Port = "1"; }, ""},
        CheckCase{"EthernetHighestPort", nullptr, [](E& e) { e.Port = "65535"; }, ""},
        CheckCase{"EthernetZeroTimeout", nullptr, [](E& e) { e.Timeout = "0"; }, "timeout"},
        CheckCase{"EthernetTextRetries", nullptr, [](E& e) { e.Retries = "few"; }, "Retries"}),
    [](const auto& info) { return std::string(info.param.name); });

// Hand-edited values the dialogs would refuse are shown as the defaults; the file keeps them.
TEST(SettingsFromFileTest, RefusedValuesGiveTheDefaults) {
  Config().LoadText(
      "[Serial Port]\nComPort=256\nParity=7\nDataBits=9\nTimeout=1e300\nRetries=1000\n"
      "[Ethernet]\nHost= \nPort=70000\nProtocol=2\nTimeout=-2\n");
  const SerialPortSettings serial = SerialPortSettings::FromConfig();
  EXPECT_EQ(std::tie(serial.ComPort, serial.Parity, serial.DataBits, serial.Timeout, serial.Retries),
            std::make_tuple(0, 0, 8, "1", "0"));
  const EthernetSettings ethernet = EthernetSettings::FromConfig();
  EXPECT_EQ(std::tie(ethernet.Host, ethernet.Port, ethernet.Protocol, ethernet.Timeout),
            std::make_tuple("192.168.1.100", "502", 0, "2"));
  EXPECT_EQ(Config().Value("Timeout", "Serial Port"), "1e300");
  ResetConfig();
}

}  // namespace
}  // namespace quendrel

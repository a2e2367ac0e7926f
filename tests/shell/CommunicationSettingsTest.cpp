// The two configuration dialogs' settings: read from the INI store, checked, written under the
// keys the modules read, and put into effect by selecting (and so restarting) the module; a
// failed check changes nothing.
#include <gtest/gtest.h>

#include <ostream>

#include <memory>

#include "comms/EthernetModule.h"
#include "comms/GIOServer.h"
#include "comms/SerialModule.h"
#include "foundation/Config.h"
#include "platform/FakeClock.h"
#include "shell/EthernetSettings.h"
#include "shell/SerialPortSettings.h"
#include "shell/support/ShellTestSupport.h"

namespace quendrel {
namespace {

class CommunicationSettingsTest : public ::testing::Test {
 protected:
  CommunicationSettingsTest() : server(clock) {
    ResetConfig();
    server.RegisterModule(std::make_unique<SerialModule>(clock));
  }
  ~CommunicationSettingsTest() override { ResetConfig(); }

  CountingModule& AddEthernet() {
    return static_cast<CountingModule&>(server.RegisterModule(std::make_unique<CountingModule>("Ethernet")));
  }

  FakeClock clock;
  GIOServer server;
};

TEST_F(CommunicationSettingsTest, SerialSettingsAreWrittenAppliedAndSelected) {
  server.SelectModule("None");
  SerialPortSettings settings;
  settings.ComPort = 2;
  settings.BaudRate = 115200;
  settings.Parity = 2;
  settings.DataBits = 7;
  settings.StopBits = 2;
  settings.Timeout = " 0.5";
  settings.Retries = "2";
  settings.LocalEcho = true;
  EXPECT_EQ(ApplySerialPortSettings(settings, server), "");

  EXPECT_EQ(Config().Value("ComPort", "Serial Port"), "2");
  EXPECT_EQ(Config().Value("BaudRate", "Serial Port"), "115200");
  EXPECT_EQ(Config().Value("Parity", "Serial Port"), "2");
  EXPECT_EQ(Config().Value("DataBits", "Serial Port"), "7");
  EXPECT_EQ(Config().Value("StopBits", "Serial Port"), "2");
  EXPECT_EQ(Config().Value("Timeout", "Serial Port"), "0.5");
  EXPECT_EQ(Config().Value("Retries", "Serial Port"), "2");
  EXPECT_EQ(Config().Value("LocalEcho", "Serial Port"), "True");
  EXPECT_EQ(Config().Value("GIOTarget", "General"), "Serial");
  EXPECT_EQ(server.SelectedModule(), "Serial");

  // The module took the new settings when it was selected.
  const auto& serial = static_cast<const SerialModule&>(*server.Module("Serial"));
  EXPECT_EQ(serial.ComPort(), 2);
  EXPECT_EQ(serial.BaudRate(), 9);
  EXPECT_EQ(serial.Parity(), 2);
  EXPECT_EQ(serial.StopBits(), 2);
  EXPECT_EQ(serial.DataBits(), "7");
  EXPECT_EQ(SerialPortSettings::FromConfig().Timeout, "0.5");
}

struct BadSerial {
  const char* name;
  void (*spoil)(SerialPortSettings&);
  const char* messageWord;
};

void PrintTo(const BadSerial& c, std::ostream* out) { *out << c.name; }

class BadSerialSettingsTest : public CommunicationSettingsTest,
                              public ::testing::WithParamInterface<BadSerial> {};

TEST_P(BadSerialSettingsTest, AreRefusedAndChangeNothing) {
  server.SelectModule("None");
  SerialPortSettings settings;
  GetParam().spoil(settings);
  const std::string message = ApplySerialPortSettings(settings, server);
  EXPECT_NE(message.find(GetParam().messageWord), std::string::npos) << message;
  EXPECT_FALSE(Config().HasKey("Timeout", "Serial Port"));
  EXPECT_FALSE(Config().HasKey("BaudRate", "Serial Port"));
  EXPECT_EQ(server.SelectedModule(), "None");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadSerialSettingsTest,
    ::testing::Values(
        BadSerial{"ZeroTimeout", [](SerialPortSettings& s) { s.Timeout = "0"; }, "timeout"},
        BadSerial{"NegativeTimeout", [](SerialPortSettings& s) { s.Timeout = "-1"; }, "timeout"},
        BadSerial{"TextTimeout", [](SerialPortSettings& s) { s.Timeout = "soon"; }, "timeout"},
        BadSerial{"EmptyTimeout", [](SerialPortSettings& s) { s.Timeout = ""; }, "timeout"},
        BadSerial{"FractionalRetries", [](SerialPortSettings& s) { s.Retries = "1.5"; }, "Retries"},
        BadSerial{"NegativeRetries", [](SerialPortSettings& s) { s.Retries = "-1"; }, "Retries"},
        BadSerial{"OddBaudRate", [](SerialPortSettings& s) { s.BaudRate = 12345; }, "baud"},
        BadSerial{"NoPort", [](SerialPortSettings& s) { s.ComPort = -1; }, "port"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommunicationSettingsTest, EthernetSettingsAreWrittenAppliedAndSelected) {
  CountingModule& ethernet = AddEthernet();
  EthernetSettings settings;
  settings.Host = "  drive-7.plant.local ";
  settings.Port = "1502";
  settings.Protocol = 1;
  settings.Authenticate = true;
  settings.Password = "s3cret";
  settings.Timeout = "0.25";
  settings.Retries = "1";
  EXPECT_EQ(ApplyEthernetSettings(settings, server), "");

  EXPECT_EQ(Config().Value("Host", "Ethernet"), "drive-7.plant.local");
  EXPECT_EQ(Config().Value("Port", "Ethernet"), "1502");
  EXPECT_EQ(Config().Value("Protocol", "Ethernet"), "1");
  EXPECT_EQ(Config().Value("Authenticate", "Ethernet"), "True");
  EXPECT_EQ(Config().Value("Timeout", "Ethernet"), "0.25");
  EXPECT_EQ(Config().Value("Retries", "Ethernet"), "1");
  const std::string stored = Config().Value("Password", "Ethernet");
  EXPECT_EQ(stored.find("s3cret"), std::string::npos);
  EXPECT_EQ(EthernetModule::PasswordFromStore(stored), "s3cret");
  EXPECT_EQ(EthernetSettings::FromConfig().Password, "s3cret");

  EXPECT_EQ(server.SelectedModule(), "Ethernet");
  EXPECT_EQ(ethernet.startups, 1);
}

struct BadEthernet {
  const char* name;
  void (*spoil)(EthernetSettings&);
  const char* messageWord;
};

void PrintTo(const BadEthernet& c, std::ostream* out) { *out << c.name; }

class BadEthernetSettingsTest : public CommunicationSettingsTest,
                                public ::testing::WithParamInterface<BadEthernet> {};

TEST_P(BadEthernetSettingsTest, AreRefusedAndChangeNothing) {
  AddEthernet();
  server.SelectModule("Serial");
  EthernetSettings settings;
  GetParam().spoil(settings);
  const std::string message = ApplyEthernetSettings(settings, server);
  EXPECT_NE(message.find(GetParam().messageWord), std::string::npos) << message;
  EXPECT_FALSE(Config().HasKey("Host", "Ethernet"));
  EXPECT_FALSE(Config().HasKey("Port", "Ethernet"));
  EXPECT_EQ(server.SelectedModule(), "Serial");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadEthernetSettingsTest,
    ::testing::Values(
        BadEthernet{"EmptyHost", [](EthernetSettings& s) { s.Host = " \t"; }, "host"},
        BadEthernet{"PortZero", [](EthernetSettings& s) { s.Port = "0"; }, "port"},
        BadEthernet{"PortTooHigh", [](EthernetSettings& s) { s.Port = "65536"; }, "port"},
        BadEthernet{"PortText", [](EthernetSettings& s) { s.Port = "http"; }, "port"},
        BadEthernet{"PortFraction", [](EthernetSettings& s) { s.Port = "502.5"; }, "port"},
        BadEthernet{"ZeroTimeout", [](EthernetSettings& s) { s.Timeout = "0"; }, "timeout"},
        BadEthernet{"TextRetries", [](EthernetSettings& s) { s.Retries = "few"; }, "Retries"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommunicationSettingsTest, TheHighestAndLowestPortsAreAccepted) {
  EthernetSettings settings;
  settings.Port = "1";
  EXPECT_EQ(settings.Validate(), "");
  settings.Port = "65535";
  EXPECT_EQ(settings.Validate(), "");
}

TEST_F(CommunicationSettingsTest, WithoutAnEthernetModuleTheSettingsAreKeptButNotSelected) {
  server.SelectModule("Serial");
  EthernetSettings settings;
  settings.Host = "10.1.1.1";
  EXPECT_NE(ApplyEthernetSettings(settings, server), "");
  EXPECT_EQ(Config().Value("Host", "Ethernet"), "10.1.1.1");
  EXPECT_EQ(server.SelectedModule(), "Serial");
}

}  // namespace
}  // namespace quendrel

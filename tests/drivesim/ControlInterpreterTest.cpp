// The control channel's commands and their one-line answers, against a drive without a port.

#include "drivesim/ControlInterpreter.h"

#include <gtest/gtest.h>

#include "drivesim/DefaultParameterTable.h"
#include "drivesim/SimFrame.h"

namespace quendrel {
namespace {

using namespace std::string_literals;

class FakePort : public PortControl {
 public:
  void ClosePort() override { ++closes; }
  std::string ReopenPort() override { return reopenPath; }
  void Quit() override { quit = true; }
  void DisconnectClients() override { ++disconnects; }
  std::string Ports() const override { return "tcp 5020"; }

  int closes = 0;
  int disconnects = 0;
  bool quit = false;
  std::string reopenPath = "/tmp/x/tty";
};

const SimTime kNow = SimTime{} + std::chrono::hours(1);

class ControlInterpreterTest : public ::testing::Test {
 protected:
  std::string Run(const std::string& line) { return interpreter.Execute(line, kNow); }
  void Request(std::uint8_t address, const std::string& pdu) { core.Receive(SimFrame::Wrap(address, pdu), kNow); }

  SimulatorCore core{DefaultParameterTable(), 1};
  FakePort port;
  ControlInterpreter interpreter{core, port};
};

TEST_F(ControlInterpreterTest, StatsCountRequestsByFunction) {
  EXPECT_EQ(Run("stats"), "requests 0");
  Request(1, "\x43\x0B\x1D"s);
  Request(1, "\x43\x0B\x1C"s);
  Request(1, "\x46\x02\x01\x00\x01"s);
  EXPECT_EQ(Run("stats"), "requests 3 67:2 70:1");
  EXPECT_EQ(Run("count 67"), "2");
  EXPECT_EQ(Run("count 1"), "0");
  EXPECT_EQ(Run("stats reset"), "ok");
  EXPECT_EQ(Run("stats"), "requests 0");
}

TEST_F(ControlInterpreterTest, ReadsAndWritesTheTable) {
  EXPECT_EQ(Run("get 1129"), "2105");
  EXPECT_EQ(Run("get m11p29"), "2105");
  EXPECT_EQ(Run("set M01B03 -7"), "ok");
  EXPECT_EQ(Run("get 103"), "-7");
  EXPECT_EQ(Run("set 103 65535"), "ok");
  EXPECT_EQ(Run("get 103"), "-1");
  EXPECT_EQ(Run("name 1128"), "Model Number");
  EXPECT_EQ(Run("names 203"), "Linear;S-Curve;Fast Stop");
  EXPECT_EQ(Run("names 101"), "");
  EXPECT_EQ(Run("set 1123 9"), "ok");
  EXPECT_EQ(core.Address(), 9);
}

TEST_F(ControlInterpreterTest, SwitchesBehaviour) {
  EXPECT_EQ(Run("legacy on"), "ok");
  EXPECT_TRUE(core.Legacy());
  EXPECT_EQ(Run("legacy off"), "ok");
  EXPECT_FALSE(core.Legacy());
  EXPECT_EQ(Run("echo on"), "ok");
  EXPECT_EQ(core.Mode(), LineMode::Echo);
  EXPECT_EQ(Run("mode record"), "ok");
  EXPECT_EQ(core.Mode(), LineMode::Record);
  EXPECT_EQ(Run("echo off"), "ok");
  EXPECT_EQ(core.Mode(), LineMode::Drive);
  EXPECT_EQ(Run("localecho on"), "ok");
  EXPECT_TRUE(core.LocalEcho());
  EXPECT_EQ(Run("address 12"), "ok");
  EXPECT_EQ(core.Address(), 12);
  EXPECT_EQ(Run("get 1123"), "12");
  EXPECT_EQ(Run("baud 9600"), "ok");
  EXPECT_EQ(core.BaudRate(), 9600);
}

TEST_F(ControlInterpreterTest, FaultsApplyToTheNextRequests) {
  EXPECT_EQ(Run("fault drop next 1"), "ok");
  Request(1, "\x43\x0B\x1D"s);
  EXPECT_TRUE(core.TakeDue(SimTime::max()).empty());
  Request(1, "\x43\x0B\x1D"s);
  EXPECT_EQ(core.TakeDue(SimTime::max()).size(), 1U);
  EXPECT_EQ(Run("fault stop"), "ok");
  EXPECT_EQ(Run("fault none"), "ok");
  Request(1, "\x43\x0B\x1D"s);
  EXPECT_EQ(core.TakeDue(SimTime::max()).size(), 1U);
}

TEST_F(ControlInterpreterTest, RawBytesBothWays) {
  EXPECT_EQ(Run("send AA 0d 00"), "ok");
  const auto out = core.TakeDue(SimTime::max());
  ASSERT_EQ(out.size(), 1U);
  EXPECT_EQ(out[0].bytes, "\xAA\r\x00"s);
  core.Receive("\x01\xFF"s, kNow);
  EXPECT_EQ(Run("received"), "received 01 FF");
  EXPECT_EQ(Run("received"), "received");
}

TEST_F(ControlInterpreterTest, PortCommandsGoToThePort) {
  EXPECT_EQ(Run("close"), "ok");
  EXPECT_EQ(port.closes, 1);
  EXPECT_EQ(Run("reopen"), "ok /tmp/x/tty");
  port.reopenPath.clear();
  EXPECT_EQ(Run("reopen"), "error cannot open a pseudo-terminal");
  EXPECT_FALSE(port.quit);
  EXPECT_EQ(Run("quit"), "ok");
  EXPECT_TRUE(port.quit);
  EXPECT_EQ(Run("disconnect"), "ok");
  EXPECT_EQ(port.disconnects, 1);
  EXPECT_EQ(Run("ports"), "ports tcp 5020");
  EXPECT_EQ(Run("logins"), "logins 0 0");
}

TEST_F(ControlInterpreterTest, EveryMistakeAnswersAnError) {
  for (const char* line : {"", "bogus", "stats now", "count", "count 256", "fault", "fault drop next",
                           "seed -1", "get", "get 2100", "get 504", "get M11X29", "set 1129", "set 1129 70000",
                           "legacy maybe", "mode turbo", "address 0", "address 248", "baud fast", "send GG",
                           "send 100", "close now"}) {
    EXPECT_EQ(Run(line).rfind("error ", 0), 0U) << '"' << line << '"';
  }
}

}  // namespace
}  // namespace quendrel

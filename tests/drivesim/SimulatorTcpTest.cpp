// The drive's Ethernet side without sockets: Modbus/TCP framing, the login, and the faults
// that only a TCP stream can suffer.

#include "drivesim/SimulatorCore.h"

#include <gtest/gtest.h>

#include "drivesim/DefaultParameterTable.h"
#include "drivesim/SimFrame.h"
#include "foundation/files/FileCipher.h"

namespace quendrel {
namespace {

using namespace std::string_literals;

const SimTime kStart = SimTime{} + std::chrono::hours(1);

std::string Adu(int transaction, std::uint8_t unit, const std::string& pdu) {
  const auto length = static_cast<char>(pdu.size() + 1);
  return std::string{static_cast<char>(transaction >> 8), static_cast<char>(transaction), 0, 0, 0, length,
                     static_cast<char>(unit)} +
         pdu;
}

const std::string kReadVersion = "\x43\x0B\x1D"s;
const std::string kVersionReply = "\x43\x07\x0B\x1D\x08\x39\x82\x03\x00"s;

class SimulatorTcpTest : public ::testing::Test {
 protected:
  void Fault(const std::string& text) {
    std::string error;
    auto rule = FaultRule::Parse(text, error);
    ASSERT_TRUE(rule) << error;
    core.Faults().Add(*rule);
  }

  // The channel's traffic as bytes, with "<close>" where the connection closes.
  std::string Wire(int channel) {
    std::string wire;
    for (auto& event : core.TakeDue(SimTime::max())) {
      EXPECT_EQ(event.channel, channel);
      wire += event.kind == LineEvent::Kind::Close ? "<close>"s : event.bytes;
    }
    return wire;
  }

  SimulatorCore core{DefaultParameterTable(), 1};
};

TEST_F(SimulatorTcpTest, AnswersModbusTcpWithTheRequestsTransaction) {
  const int channel = core.OpenChannel(Framing::Mbap, kStart);
  core.Receive(channel, Adu(0x1234, 1, kReadVersion), kStart);
  EXPECT_EQ(Wire(channel), Adu(0x1234, 1, kVersionReply));
  EXPECT_EQ(core.RequestCount(0x43), 1);
}

TEST_F(SimulatorTcpTest, ReassemblesUnitsSplitAcrossReads) {
  const int channel = core.OpenChannel(Framing::Mbap, kStart);
  const std::string two = Adu(1, 1, kReadVersion) + Adu(2, 1, "\x42\x0B\x1D"s);
  for (const char byte : two) core.Receive(channel, std::string(1, byte), kStart);
  EXPECT_EQ(Wire(channel), Adu(1, 1, kVersionReply) + Adu(2, 1, "\x42\x04\x0B\x1D\x82\x03"s));
}

TEST_F(SimulatorTcpTest, GatewayAnswersForAUnitThatIsNotThere) {
  const int channel = core.OpenChannel(Framing::Mbap, kStart);
  core.Receive(channel, Adu(9, 5, kReadVersion), kStart);
  EXPECT_EQ(Wire(channel), Adu(9, 5, "\xC3\x0B"s));
  EXPECT_EQ(core.RequestCount(), 0);
}

TEST_F(SimulatorTcpTest, AHeaderOutOfRangeClosesTheConnection) {
  const int channel = core.OpenChannel(Framing::Mbap, kStart);
  core.Receive(channel, "\x00\x01\x00\x00\x01\x00\x01"s, kStart);  // announces 256 bytes
  EXPECT_EQ(Wire(channel), "<close>");
  core.Receive(channel, Adu(2, 1, kReadVersion), kStart);
  EXPECT_EQ(Wire(channel), "");
}

TEST_F(SimulatorTcpTest, FaultsOnAStream) {
  struct Case {
    const char* rule;
    std::string wire;
  };
  const std::string reply = Adu(7, 1, kVersionReply);
  std::string lying = reply;
  lying[5] = static_cast<char>(lying[5] + 5);
  std::string badProtocol = reply;
  badProtocol[3] = 1;
  const Case cases[] = {
      {"cut next 1", reply.substr(0, reply.size() / 2) + "<close>"},
      {"length next 1", lying},
      {"oldtid next 1", Adu(6, 1, kVersionReply) + reply},
      {"oldtid next 1 1", Adu(6, 1, kVersionReply)},
      {"crc next 1", badProtocol},
      {"address next 1", Adu(7, 2, kVersionReply)},
      {"close next 1", "<close>"},
      {"drop next 1", ""},
  };
  for (const auto& c : cases) {
    const int channel = core.OpenChannel(Framing::Mbap, kStart);
    Fault(c.rule);
    core.Receive(channel, Adu(7, 1, kReadVersion), kStart);
    EXPECT_EQ(Wire(channel), c.wire) << c.rule;
    core.CloseChannel(channel);
  }
}

TEST_F(SimulatorTcpTest, RtuOverTcpCarriesSerialFramesAndTheByteChannel) {
  const int channel = core.OpenChannel(Framing::Rtu, kStart);
  core.Receive(channel, SimFrame::Wrap(1, kReadVersion), kStart);
  EXPECT_EQ(Wire(channel), SimFrame::Wrap(1, kVersionReply));
  core.SetMode(LineMode::Echo);
  core.Receive(channel, "\r"s, kStart);
  EXPECT_EQ(Wire(channel), "\r");
  core.Inject("\xAA"s, kStart);
  const auto out = core.TakeDue(SimTime::max());
  ASSERT_EQ(out.size(), 2U);  // the serial port and the RTU connection both get it
}

TEST_F(SimulatorTcpTest, LengthFaultOnSerialFramesMakesTheCountLie) {
  const int channel = core.OpenChannel(Framing::Rtu, kStart);
  Fault("length next 1 2");
  core.Receive(channel, SimFrame::Wrap(1, kReadVersion), kStart);
  std::string lying = kVersionReply;
  lying[1] = 9;
  EXPECT_EQ(Wire(channel), SimFrame::Wrap(1, lying));
}

class SimulatorLoginTest : public SimulatorTcpTest {
 protected:
  // What a client holding `password` answers to the challenge.
  static std::string Answer(const std::string& challenge, const std::string& password) {
    const std::string key = DecryptString(std::string(8, '\0'));
    std::string answer = challenge;
    for (std::size_t i = 0; i < 8; ++i) {
      const char secret = password.empty() ? '\0' : password[i % password.size()];
      answer[i] = static_cast<char>(answer[i] ^ secret ^ key[i]);
    }
    return answer;
  }

  std::string Challenge(int channel) {
    const std::string challenge = Wire(channel);
    EXPECT_EQ(challenge.size(), 8U);
    return challenge;
  }
};

TEST_F(SimulatorLoginTest, RightAnswerOpensTheDrive) {
  core.SetPassword("drive");
  const int channel = core.OpenChannel(Framing::Mbap, kStart);
  const std::string challenge = Challenge(channel);
  // The answer and the first request may arrive in one read.
  core.Receive(channel, Answer(challenge, "drive") + Adu(3, 1, kReadVersion), kStart);
  EXPECT_EQ(Wire(channel), "\x06"s + Adu(3, 1, kVersionReply));
  EXPECT_EQ(core.LoginsAccepted(), 1);
}

TEST_F(SimulatorLoginTest, EmptyPasswordXorsOnlyTheKeyStream) {
  core.SetPassword("");
  const int channel = core.OpenChannel(Framing::Rtu, kStart);
  const std::string challenge = Challenge(channel);
  core.Receive(channel, Answer(challenge, ""), kStart);
  EXPECT_EQ(Wire(channel), "\x06"s);
}

TEST_F(SimulatorLoginTest, WrongAnswerOrRefuseFaultClosesTheConnection) {
  core.SetPassword("drive");
  const int wrong = core.OpenChannel(Framing::Mbap, kStart);
  core.Receive(wrong, Answer(Challenge(wrong), "Drive") + Adu(3, 1, kReadVersion), kStart);
  EXPECT_EQ(Wire(wrong), "\x15<close>"s);
  EXPECT_EQ(core.RequestCount(), 0);

  Fault("refuse next 1");
  const int refused = core.OpenChannel(Framing::Mbap, kStart);
  core.Receive(refused, Answer(Challenge(refused), "drive"), kStart);
  EXPECT_EQ(Wire(refused), "\x15<close>"s);

  const int accepted = core.OpenChannel(Framing::Mbap, kStart);
  core.Receive(accepted, Answer(Challenge(accepted), "drive"), kStart);
  EXPECT_EQ(Wire(accepted), "\x06"s);
  EXPECT_EQ(core.LoginsRefused(), 2);
  EXPECT_EQ(core.LoginsAccepted(), 1);
}

TEST_F(SimulatorLoginTest, ChallengesDiffer) {
  core.SetPassword("x");
  const int first = core.OpenChannel(Framing::Mbap, kStart);
  const std::string a = Challenge(first);
  const int second = core.OpenChannel(Framing::Mbap, kStart);
  EXPECT_NE(Challenge(second), a);
}

}  // namespace
}  // namespace quendrel

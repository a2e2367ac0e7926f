// The raw byte channel the flash loader is fed through: on a real pseudo-terminal and over serial
// frames carried on TCP; Modbus/TCP has none.
#include <gtest/gtest.h>

#include "comms/support/EthernetRig.h"
#include "comms/support/SerialRig.h"

namespace quendrel {
namespace {

class ByteChannelTest : public ::testing::TestWithParam<bool> {
 protected:
  static std::unique_ptr<DriveRig> MakeRig() {
    if (GetParam()) return std::make_unique<EthernetRig>(EthernetRig::OnProtocol(EthernetModule::kRtuOverTcp));
    return std::make_unique<SerialRig>();
  }

  void SetUp() override {
    std::uint8_t ignored = 0;
    // A frame the drive answered: the connection is open at both ends. The first byte operation
    // then discards what is pending; later bytes are kept.
    ASSERT_FALSE(rig_->Context().Ping().Error);
    server_.GetByte(ignored);
    rig_->Sim().ReceivedBytes();
  }

  std::unique_ptr<DriveRig> rig_ = MakeRig();
  GIOServer& server_ = rig_->Server();
  DriveSimProcess& sim_ = rig_->Sim();
};

TEST_P(ByteChannelTest, WordsGoHighByteFirstUnlessReversed) {
  // Read back through the simulator's echo, which also proves the bytes arrived in this order.
  sim_.SetMode("echo");
  EXPECT_TRUE(server_.WriteByte(0x0D));
  EXPECT_TRUE(server_.WriteWord(0x1234));
  EXPECT_TRUE(server_.WriteWord(0x1234, false, true));
  EXPECT_TRUE(server_.WriteWord(0x7FFFABCD));
  std::string echoed;
  std::uint8_t byte = 0;
  while (echoed.size() < 7 && server_.WaitForByte(byte, 2.0) == 1) echoed.push_back(static_cast<char>(byte));
  EXPECT_EQ(echoed, std::string("\x0D\x12\x34\x34\x12\xAB\xCD"));
}

TEST_P(ByteChannelTest, EchoMustComeBackAsTheSameByte) {
  sim_.SetMode("echo");
  EXPECT_TRUE(server_.WriteByte(0xAA, true));
  EXPECT_TRUE(server_.WriteWord(0x0102, true, false));
  EXPECT_TRUE(server_.WriteWord(0x0102, true, true));
  EXPECT_EQ(sim_.ReceivedBytes(), std::string("\xAA\x01\x02\x02\x01"));

  sim_.SetMode("record");
  rig_->SetTimeout(0.1);
  EXPECT_FALSE(server_.WriteByte(0x55, true));
  sim_.SendBytes("\x66");
  EXPECT_FALSE(server_.WriteByte(0x55, true));
}

TEST_P(ByteChannelTest, ReceivedBytesAreTakenOneAtATime) {
  sim_.SetMode("record");
  std::uint8_t byte = 0;
  EXPECT_EQ(server_.GetByte(byte), 0);
  sim_.SendBytes("\xAA\x06");
  ASSERT_EQ(server_.WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0xAA);
  ASSERT_EQ(server_.WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0x06);
  rig_->SetTimeout(0.05);
  EXPECT_EQ(server_.WaitForByte(byte), 0);
}

TEST_P(ByteChannelTest, FramesAndBytesTakeTurns) {
  sim_.SetMode("record");
  EXPECT_TRUE(server_.WriteByte(0x0D));
  sim_.SendBytes("\x99\x98");
  sim_.SetMode("drive");
  const udtDriveResponse response = rig_->Context().ReadValue(11, 29);
  ASSERT_FALSE(response.Error) << response.intData;
  EXPECT_EQ(response.intData, 2105);
  sim_.SetMode("echo");
  EXPECT_TRUE(server_.WriteByte(0xAA, true));
}

INSTANTIATE_TEST_SUITE_P(Transports, ByteChannelTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "RtuOverTcp" : "Serial"; });

// A loader that leaves a word unechoed still needs all of it, or every later word is out of step.
TEST(SerialByteChannelTest, UnechoedWordStillGoesWholeAndFails) {
  SerialRig rig;
  std::uint8_t ignored = 0;
  rig.Server().GetByte(ignored);
  rig.Sim().SetMode("record");
  rig.SetTimeout(0.1);
  EXPECT_FALSE(rig.Server().WriteWord(0x1234, true));
  // Once this byte's echo is back, everything sent before it has reached the simulator.
  rig.Sim().SetMode("echo");
  EXPECT_TRUE(rig.Server().WriteByte(0x77, true));
  EXPECT_EQ(rig.Sim().ReceivedBytes(), "\x12\x34\x77");
}

TEST(SerialByteChannelTest, LocalEchoOfTheAdapterIsDroppedBeforeAnythingIsRead) {
  SerialRig rig;
  // The simulator's echo mode stands in for a two-wire adapter that hears itself.
  rig.Sim().SetMode("echo");
  std::uint8_t byte = 0;
  EXPECT_TRUE(rig.Server().WriteByte(0x0D));
  ASSERT_EQ(rig.Server().WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0x0D);

  rig.SetLocalEcho(true);
  EXPECT_TRUE(rig.Server().WriteByte(0x0D));
  rig.Sim().SendBytes("\xAA");
  ASSERT_EQ(rig.Server().WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0xAA);
}

TEST(ModbusTcpByteChannelTest, HasNoByteChannel) {
  EthernetRig rig(EthernetRig::OnProtocol(EthernetModule::kModbusTcp));
  std::uint8_t byte = 0;
  EXPECT_FALSE(rig.Server().WriteByte(0x0D));
  EXPECT_FALSE(rig.Server().WriteWord(0x1234));
  EXPECT_EQ(rig.Server().GetByte(byte), 0);
  EXPECT_EQ(rig.Server().WaitForByte(byte, 0.05), 0);
  EXPECT_EQ(rig.Sim().ReceivedBytes(), "");
}

}  // namespace
}  // namespace quendrel

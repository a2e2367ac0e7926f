// The raw byte channel the flash loader is fed through, over serial frames carried on TCP; Modbus/TCP
// has none.
#include <gtest/gtest.h>

#include "comms/support/EthernetRig.h"
#include "foundation/Config.h"

namespace quendrel {
namespace {

EthernetRig::Options OnProtocol(int protocol) {
  EthernetRig::Options options;
  options.protocol = protocol;
  return options;
}

class EthernetByteChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::uint8_t ignored = 0;
    // The first byte operation connects and discards what is pending; later bytes are kept.
    server_.GetByte(ignored);
    rig_.Sim().ReceivedBytes();
  }

  void SetTimeout(double seconds) { Config().SetValue("Timeout", "Ethernet", std::to_string(seconds)); }

  EthernetRig rig_{OnProtocol(EthernetModule::kRtuOverTcp)};
  GIOServer& server_ = rig_.Server();
};

TEST_F(EthernetByteChannelTest, WordsGoHighByteFirstUnlessReversedAndEchoesMatch) {
  rig_.Sim().SetMode("echo");
  EXPECT_TRUE(server_.WriteByte(0x0D, true));
  EXPECT_TRUE(server_.WriteWord(0x1234, true));
  EXPECT_TRUE(server_.WriteWord(0x1234, true, true));
  EXPECT_EQ(rig_.Sim().ReceivedBytes(), std::string("\x0D\x12\x34\x34\x12"));
}

TEST_F(EthernetByteChannelTest, AnEchoThatDoesNotComeBackFails) {
  rig_.Sim().SetMode("record");
  SetTimeout(0.1);
  EXPECT_FALSE(server_.WriteByte(0x55, true));
  rig_.Sim().SendBytes("\x66");
  EXPECT_FALSE(server_.WriteByte(0x55, true));
}

TEST_F(EthernetByteChannelTest, ReceivedBytesAreTakenOneAtATime) {
  rig_.Sim().SetMode("record");
  std::uint8_t byte = 0;
  EXPECT_EQ(server_.GetByte(byte), 0);
  rig_.Sim().SendBytes("\xAA\x06");
  ASSERT_EQ(server_.WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0xAA);
  ASSERT_EQ(server_.WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0x06);
  SetTimeout(0.05);
  EXPECT_EQ(server_.WaitForByte(byte), 0);
}

TEST_F(EthernetByteChannelTest, FramesAndBytesTakeTurns) {
  rig_.Sim().SetMode("echo");
  EXPECT_TRUE(server_.WriteByte(0x0D, true));
  rig_.Sim().SetMode("drive");
  const udtDriveResponse response = rig_.Context().ReadValue(11, 29);
  ASSERT_FALSE(response.Error) << response.intData;
  rig_.Sim().SetMode("echo");
  EXPECT_TRUE(server_.WriteByte(0xAA, true));
}

TEST(ModbusTcpByteChannelTest, HasNoByteChannel) {
  EthernetRig rig(OnProtocol(EthernetModule::kModbusTcp));
  std::uint8_t byte = 0;
  EXPECT_FALSE(rig.Server().WriteByte(0x0D));
  EXPECT_FALSE(rig.Server().WriteWord(0x1234));
  EXPECT_EQ(rig.Server().GetByte(byte), 0);
  EXPECT_EQ(rig.Server().WaitForByte(byte, 0.05), 0);
  EXPECT_EQ(rig.Sim().ReceivedBytes(), "");
}

}  // namespace
}  // namespace quendrel

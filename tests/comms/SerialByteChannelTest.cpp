// The raw byte channel the flash loader is fed through, on a real pseudo-terminal.
#include <gtest/gtest.h>

#include "comms/support/SerialRig.h"

namespace quendrel {
namespace {

class SerialByteChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::uint8_t ignored = 0;
    // The first byte operation discards what is pending; take it here so later bytes are kept.
    rig_.Server().GetByte(ignored);
    rig_.Sim().ReceivedBytes();
  }

  SerialRig rig_;
  GIOServer& server_ = rig_.Server();
};

TEST_F(SerialByteChannelTest, WordsGoHighByteFirstUnlessReversed) {
  // Read back through the simulator's echo, which also proves the bytes arrived in this order.
  rig_.Sim().SetMode("echo");
  EXPECT_TRUE(server_.WriteByte(0x0D));
  EXPECT_TRUE(server_.WriteWord(0x1234));
  EXPECT_TRUE(server_.WriteWord(0x1234, false, true));
  EXPECT_TRUE(server_.WriteWord(0x7FFFABCD));
  std::string echoed;
  std::uint8_t byte = 0;
  while (echoed.size() < 7 && server_.WaitForByte(byte, 2.0) == 1) echoed.push_back(static_cast<char>(byte));
  EXPECT_EQ(echoed, std::string("\x0D\x12\x34\x34\x12\xAB\xCD"));
}

TEST_F(SerialByteChannelTest, EchoMustComeBackAsTheSameByte) {
  rig_.Sim().SetMode("echo");
  EXPECT_TRUE(server_.WriteByte(0xAA, true));
  EXPECT_TRUE(server_.WriteWord(0x0102, true, false));
  EXPECT_TRUE(server_.WriteWord(0x0102, true, true));
  EXPECT_EQ(rig_.Sim().ReceivedBytes(), std::string("\xAA\x01\x02\x02\x01"));

  rig_.Sim().SetMode("record");
  rig_.SetTimeout(0.1);
  EXPECT_FALSE(server_.WriteByte(0x55, true));
  rig_.Sim().SendBytes("\x66");
  EXPECT_FALSE(server_.WriteByte(0x55, true));
}

TEST_F(SerialByteChannelTest, FailedFirstByteOfAWordSendsNoSecond) {
  rig_.Sim().SetMode("record");
  rig_.SetTimeout(0.1);
  EXPECT_FALSE(server_.WriteWord(0x1234, true));
  // Once this byte's echo is back, everything sent before it has reached the simulator.
  rig_.Sim().SetMode("echo");
  EXPECT_TRUE(server_.WriteByte(0x77, true));
  EXPECT_EQ(rig_.Sim().ReceivedBytes(), "\x12\x77");
}

TEST_F(SerialByteChannelTest, ReceivedBytesAreTakenOneAtATime) {
  rig_.Sim().SetMode("record");
  std::uint8_t byte = 0;
  EXPECT_EQ(server_.GetByte(byte), 0);
  rig_.Sim().SendBytes("\xAA\x06");
  ASSERT_EQ(server_.WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0xAA);
  ASSERT_EQ(server_.WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0x06);
  rig_.SetTimeout(0.05);
  EXPECT_EQ(server_.WaitForByte(byte), 0);
}

TEST_F(SerialByteChannelTest, LocalEchoOfTheAdapterIsDroppedBeforeAnythingIsRead) {
  // The simulator's echo mode stands in for a two-wire adapter that hears itself.
  rig_.Sim().SetMode("echo");
  std::uint8_t byte = 0;
  EXPECT_TRUE(server_.WriteByte(0x0D));
  ASSERT_EQ(server_.WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0x0D);

  rig_.SetLocalEcho(true);
  EXPECT_TRUE(server_.WriteByte(0x0D));
  rig_.Sim().SendBytes("\xAA");
  ASSERT_EQ(server_.WaitForByte(byte, 2.0), 1);
  EXPECT_EQ(byte, 0xAA);
}

TEST_F(SerialByteChannelTest, FrameExchangesStillWorkBetweenByteRuns) {
  rig_.Sim().SetMode("record");
  EXPECT_TRUE(server_.WriteByte(0x0D));
  rig_.Sim().SendBytes("\x99\x98");
  rig_.Sim().SetMode("drive");
  const udtDriveResponse response = rig_.Context().ReadValue(11, 29);
  ASSERT_FALSE(response.Error) << response.intData;
  EXPECT_EQ(response.intData, 2105);
}

}  // namespace
}  // namespace quendrel

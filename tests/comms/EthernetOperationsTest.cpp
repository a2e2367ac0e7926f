// Every drive operation over TCP on loopback against the simulated drive, on both protocols, with
// and without the interface's login.
#include <gtest/gtest.h>

#include "comms/GIOError.h"
#include "comms/support/EthernetRig.h"
#include "foundation/Crc16.h"

namespace quendrel {
namespace {

struct Transport {
  const char* name;
  int protocol;
  bool login;
};

class EthernetOperationsTest : public ::testing::TestWithParam<Transport> {
 protected:
  static EthernetRig::Options RigOptions() {
    EthernetRig::Options options;
    options.protocol = GetParam().protocol;
    if (GetParam().login) options.password = "s3cret";
    return options;
  }

  EthernetRig rig_{RigOptions()};
  GIOContext& drive_ = rig_.Context();
};

TEST_P(EthernetOperationsTest, ReadValueGivesRawScaledValueNameAndPad) {
  struct ReadCase {
    std::uint8_t menu;
    std::uint8_t pram;
    std::int16_t raw;
    float scaled;
    const char* valueName;
  };
  const ReadCase cases[] = {
      {11, 29, 2105, 2.105F, ""}, {11, 28, 2, 2.0F, "QD-4007"}, {1, 4, -250, -25.0F, ""},
      {6, 2, -150, -1.5F, ""},    {19, 5, -32768, -32768.0F, ""}, {17, 2, 0, 0.0F, "English"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.menu) + "." + std::to_string(c.pram));
    const udtDriveResponse response = drive_.ReadValue(c.menu, c.pram);
    ASSERT_FALSE(response.Error) << response.intData << " detail " << response.extraData;
    EXPECT_EQ(response.intData, c.raw);
    EXPECT_FLOAT_EQ(response.sglData, c.scaled);
    EXPECT_EQ(response.strData, c.valueName);
    EXPECT_EQ(response.driveID, 1);
  }
  EXPECT_EQ(drive_.ReadValue(11, 29).extraData, 0x8203);
}

TEST_P(EthernetOperationsTest, RawFramesReadAsSerialFramesOnEveryTransport) {
  const udtDriveResponse response = drive_.ReadValue(11, 29);
  ASSERT_FALSE(response.Error);
  EXPECT_EQ(response.rawreq.substr(0, 4), std::string("\x01\x43\x0b\x1d"));
  EXPECT_EQ(response.rawreq.size(), 6U);
  EXPECT_TRUE(HasValidCrc16(response.rawreq));
  ASSERT_GE(response.rawreply.size(), 5U);
  EXPECT_EQ(response.rawreply.substr(0, 2), "\x01\x43");
  EXPECT_TRUE(HasValidCrc16(response.rawreply));
}

TEST_P(EthernetOperationsTest, NamesPadsAndValueNameLists) {
  EXPECT_EQ(drive_.ReadName(11, 29).strData, "Software Version");
  EXPECT_EQ(drive_.ReadPAD(11, 29).strData, "1000001000000011");
  EXPECT_EQ(drive_.ReadDVD(2, 3, 2).strData, "Fast Stop");
  const udtDriveResponse pastEnd = drive_.ReadDVD(2, 3, 3);
  EXPECT_TRUE(pastEnd.Error);
  EXPECT_EQ(pastEnd.intData, gioInvalidDataValue);
}

TEST_P(EthernetOperationsTest, WritesReachTheDrive) {
  const udtDriveResponse written = drive_.WriteValue(1, 1, -1234);
  ASSERT_FALSE(written.Error) << written.intData;
  EXPECT_EQ(written.intData, -1234);
  EXPECT_EQ(rig_.Sim().Value(101), -1234);
  ASSERT_FALSE(drive_.WriteDVD(12, 11, 1, "Line Speed").Error);
  EXPECT_EQ(drive_.ReadDVD(12, 11, 1).strData, "Line Speed");
  const udtDriveResponse readOnly = drive_.WriteValue(11, 29, 1);
  EXPECT_TRUE(readOnly.Error);
  EXPECT_EQ(readOnly.intData, gioInvalidDataValue);
}

TEST_P(EthernetOperationsTest, LegacyDriveIsReachedThroughTheContextPolicy) {
  rig_.Sim().SetLegacy(true);
  const udtDriveResponse response = drive_.ReadValue(11, 29);
  ASSERT_FALSE(response.Error) << response.intData;
  EXPECT_TRUE(drive_.Legacy());
  EXPECT_EQ(static_cast<std::uint8_t>(response.rawreq[1]), 3);
}

TEST_P(EthernetOperationsTest, PingAndRawQueries) {
  const udtDriveResponse ping = drive_.Ping();
  EXPECT_FALSE(ping.Error);
  EXPECT_EQ(ping.driveID, 1);
  const udtDriveResponse loader = drive_.RawQuery(1, "");
  EXPECT_TRUE(loader.Error);
  EXPECT_EQ(loader.intData, gioInvalidFunction);
  const udtDriveResponse eib = drive_.RawQuery(0x48, std::string(1, '\0'));
  ASSERT_FALSE(eib.Error);
  EXPECT_EQ(eib.strData, std::string("\0\1", 2));
}

TEST_P(EthernetOperationsTest, OneConnectionServesManyExchanges) {
  for (int i = 0; i < 50; ++i) ASSERT_FALSE(drive_.ReadValue(11, 29).Error) << i;
  EXPECT_EQ(rig_.Sim().RequestCount(0x43), 50);
  if (GetParam().login) {
    EXPECT_EQ(rig_.Sim().Command("logins"), "logins 1 0");
  }
}

TEST_P(EthernetOperationsTest, TimeoutZeroSendsWithoutWaiting) {
  const std::shared_ptr<GIOContext> quick = rig_.Server().OpenContext(1, 0.0F);
  const udtDriveResponse sent = quick->WriteValue(1, 1, 77);
  EXPECT_FALSE(sent.Error);
  EXPECT_TRUE(sent.rawreply.empty());
  // Serial frames carry nothing that ties a reply to its request; Modbus/TCP's transaction id does,
  // so there the late echo of the write is never taken for the next read's reply.
  if (GetParam().protocol != EthernetModule::kModbusTcp) return;
  const udtDriveResponse read = drive_.ReadValue(1, 1);
  ASSERT_FALSE(read.Error) << read.intData;
  EXPECT_EQ(read.intData, 77);
}

INSTANTIATE_TEST_SUITE_P(Transports, EthernetOperationsTest,
                         ::testing::Values(Transport{"ModbusTcp", EthernetModule::kModbusTcp, false},
                                           Transport{"ModbusTcpLogin", EthernetModule::kModbusTcp, true},
                                           Transport{"RtuOverTcp", EthernetModule::kRtuOverTcp, false},
                                           Transport{"RtuOverTcpLogin", EthernetModule::kRtuOverTcp, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quendrel

// Every drive operation against the simulated drive on every transport: a real pseudo-terminal, and
// TCP on loopback with both protocols, with and without the interface's login.
#include <gtest/gtest.h>

#include "comms/server/GIOError.h"
#include "comms/support/EthernetRig.h"
#include "comms/support/SerialRig.h"
#include "foundation/values/Crc16.h"

namespace quendrel {
namespace {

constexpr int kSerial = -1;

struct Transport {
  const char* name;
  int protocol;  // kSerial or an EthernetModule protocol
  bool login;
};

std::unique_ptr<DriveRig> MakeRig(const Transport& transport) {
  if (transport.protocol == kSerial) return std::make_unique<SerialRig>();
  EthernetRig::Options options = EthernetRig::OnProtocol(transport.protocol);
  if (transport.login) options.password = "s3cret";
  return std::make_unique<EthernetRig>(options);
}

class DriveOperationsTest : public ::testing::TestWithParam<Transport> {
 protected:
  std::unique_ptr<DriveRig> rig_ = MakeRig(GetParam());
  GIOContext& drive_ = rig_->Context();
};

TEST_P(DriveOperationsTest, ReadValueGivesRawScaledValueNameAndPad) {
  struct ReadCase {
    std::uint8_t menu;
    std::uint8_t pram;
    std::int16_t raw;
    float scaled;
    const char* valueName;
  };
  const ReadCase cases[] = {
      {11, 29, 2105, 2.105F, ""},  {11, 28, 2, 2.0F, "QD-4007"}, {1, 4, -250, -25.0F, ""},
      {6, 2, -150, -1.5F, ""},     {3, 4, 850, 0.85F, ""},       {19, 5, -32768, -32768.0F, ""},
      {17, 2, 0, 0.0F, "English"}, {15, 3, -1, -1.0F, ""},
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

TEST_P(DriveOperationsTest, RawFramesReadAsSerialFramesOnEveryTransport) {
  const udtDriveResponse response = drive_.ReadValue(11, 29);
  ASSERT_FALSE(response.Error);
  EXPECT_EQ(response.rawreq.substr(0, 4), std::string("\x01\x43\x0b\x1d"));
  EXPECT_EQ(response.rawreq.size(), 6U);
  EXPECT_TRUE(HasValidCrc16(response.rawreq));
  ASSERT_GE(response.rawreply.size(), 5U);
  EXPECT_EQ(response.rawreply.substr(0, 2), "\x01\x43");
  EXPECT_TRUE(HasValidCrc16(response.rawreply));
  EXPECT_EQ(response.function, 0x43);
}

TEST_P(DriveOperationsTest, NamesPadsAndValueNameLists) {
  EXPECT_EQ(drive_.ReadName(11, 29).strData, "Software Version");
  EXPECT_EQ(drive_.ReadPAD(11, 29).strData, "1000001000000011");
  EXPECT_EQ(drive_.ReadPAD(4, 4).strData, "0000000000010100");
  EXPECT_EQ(drive_.ReadDVD(2, 3, 0).strData, "Linear");
  EXPECT_EQ(drive_.ReadDVD(2, 3, 2).strData, "Fast Stop");
  EXPECT_EQ(drive_.ReadDVD(17, 2, 2).strData,
            "Fran\xE7"
            "ais");

  const udtDriveResponse pastTheEnd = drive_.ReadDVD(2, 3, 3);
  EXPECT_TRUE(pastTheEnd.Error);
  EXPECT_EQ(pastTheEnd.intData, gioInvalidDataValue);
}

TEST_P(DriveOperationsTest, WritesChangeTheDriveAndComeBackEchoed) {
  const udtDriveResponse written = drive_.WriteValue(1, 4, -1234);
  ASSERT_FALSE(written.Error) << written.intData;
  EXPECT_EQ(written.intData, -1234);
  EXPECT_FLOAT_EQ(written.sglData, -1234.0F);
  EXPECT_EQ(rig_->Sim().Value(104), -1234);
  EXPECT_EQ(drive_.ReadValue(1, 4).intData, -1234);

  const udtDriveResponse renamed = drive_.WriteDVD(12, 11, 1, "Line Speed      ");
  ASSERT_FALSE(renamed.Error) << renamed.intData;
  EXPECT_EQ(drive_.ReadDVD(12, 11, 1).strData, "Line Speed      ");
}

TEST_P(DriveOperationsTest, DriveExceptionsComeBackAsTheirCodes) {
  struct ExceptionCase {
    const char* name;
    udtDriveResponse response;
    int code;
  };
  const ExceptionCase cases[] = {
      {"no such parameter", drive_.ReadValue(5, 4), gioInvalidDataAddress},
      {"read-only parameter", drive_.WriteValue(11, 29, 1), gioInvalidDataValue},
      {"no flash loader running", drive_.RawQuery(1, ""), gioInvalidFunction},
      {"unknown function", drive_.RawQuery(0x7F, ""), gioInvalidFunction},
  };
  for (const ExceptionCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.response.Error);
    EXPECT_EQ(c.response.intData, c.code);
  }
  EXPECT_EQ(rig_->Sim().Value(1129), 2105);
}

TEST_P(DriveOperationsTest, LegacyDriveIsReachedThroughTheContextPolicy) {
  rig_->Sim().SetLegacy(true);
  const udtDriveResponse response = drive_.ReadValue(11, 29);
  ASSERT_FALSE(response.Error) << response.intData;
  EXPECT_TRUE(drive_.Legacy());
  EXPECT_EQ(static_cast<std::uint8_t>(response.rawreq[1]), 3);
}

TEST_P(DriveOperationsTest, PingAndRawQueries) {
  const udtDriveResponse found = drive_.Ping();
  EXPECT_FALSE(found.Error);
  EXPECT_EQ(found.driveID, 1);
  EXPECT_GT(rig_->Server().AverageResponseTime(), 0.0);
  // The drive tells whether it is reached through its Ethernet interface.
  const udtDriveResponse isEthernet = drive_.RawQuery(0x48, std::string(1, '\0'));
  ASSERT_FALSE(isEthernet.Error) << isEthernet.intData;
  EXPECT_EQ(isEthernet.strData, std::string(GetParam().protocol == kSerial ? "\0\0" : "\0\1", 2));
  const udtDriveResponse erase = drive_.RawQuery(37, std::string(1, '\0'));
  ASSERT_FALSE(erase.Error);
  EXPECT_EQ(erase.byteCount, 0);
}

TEST_P(DriveOperationsTest, ReservationKeepsOtherWindowsOffTheLine) {
  auto flashWindow = rig_->OpenContext();
  ASSERT_TRUE(rig_->Server().Reserve(flashWindow.get()));
  rig_->Sim().ResetStats();
  EXPECT_EQ(drive_.ReadValue(11, 29).intData, gioSlaveDeviceBusy);
  EXPECT_FALSE(flashWindow->ReadValue(11, 29).Error);
  EXPECT_EQ(rig_->Sim().RequestCount(), 1);
  flashWindow->CloseContext();
  EXPECT_FALSE(drive_.ReadValue(11, 29).Error);
}

TEST_P(DriveOperationsTest, OneConnectionServesManyExchanges) {
  for (int i = 0; i < 50; ++i) ASSERT_FALSE(drive_.ReadValue(11, 29).Error) << i;
  EXPECT_EQ(rig_->Sim().RequestCount(0x43), 50);
  if (GetParam().login) {
    EXPECT_EQ(rig_->Sim().Command("logins"), "logins 1 0");
  }
}

TEST_P(DriveOperationsTest, TimeoutZeroSendsWithoutWaiting) {
  const std::shared_ptr<GIOContext> quick = rig_->OpenContext(0.0F);
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

TEST(SerialOperationsTest, NothingAnswersAtAnotherAddress) {
  SerialRig rig;
  rig.Context().SetAddress(9);
  const udtDriveResponse nobody = rig.Context().Ping();
  EXPECT_TRUE(nobody.Error);
  EXPECT_EQ(nobody.intData, gioTimeout);
}

TEST(SerialOperationsTest, NoModuleSelectedSendsNothing) {
  SerialRig rig;
  rig.Server().SelectModule("None");
  const udtDriveResponse response = rig.Context().ReadValue(11, 29);
  EXPECT_TRUE(response.Error);
  EXPECT_EQ(response.intData, gioNoModule);
  rig.Server().SelectModule("Serial");
  EXPECT_FALSE(rig.Context().ReadValue(11, 29).Error);
  EXPECT_EQ(rig.Sim().RequestCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Transports, DriveOperationsTest,
                         ::testing::Values(Transport{"Serial", kSerial, false},
                                           Transport{"ModbusTcp", EthernetModule::kModbusTcp, false},
                                           Transport{"ModbusTcpLogin", EthernetModule::kModbusTcp, true},
                                           Transport{"RtuOverTcp", EthernetModule::kRtuOverTcp, false},
                                           Transport{"RtuOverTcpLogin", EthernetModule::kRtuOverTcp, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quendrel

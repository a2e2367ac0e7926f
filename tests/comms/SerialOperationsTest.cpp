// Every drive operation over a real pseudo-terminal against the simulated drive.
#include <gtest/gtest.h>

#include "comms/GIOError.h"
#include "comms/support/SerialRig.h"
#include "foundation/Crc16.h"

namespace quendrel {
namespace {

class SerialOperationsTest : public ::testing::Test {
 protected:
  SerialRig rig_;
  GIOContext& drive_ = rig_.Context();
};

TEST_F(SerialOperationsTest, ReadValueGivesRawScaledValueNameAndPad) {
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
    ASSERT_FALSE(response.Error) << response.intData;
    EXPECT_EQ(response.intData, c.raw);
    EXPECT_FLOAT_EQ(response.sglData, c.scaled);
    EXPECT_EQ(response.strData, c.valueName);
    EXPECT_EQ(response.driveID, 1);
  }
  EXPECT_EQ(drive_.ReadValue(11, 29).extraData, 0x8203);
}

TEST_F(SerialOperationsTest, RawFramesAreListedAsSentAndReceived) {
  const udtDriveResponse response = drive_.ReadValue(11, 29);
  ASSERT_FALSE(response.Error);
  EXPECT_EQ(response.rawreq.substr(0, 4), std::string("\x01\x43\x0b\x1d"));
  EXPECT_TRUE(HasValidCrc16(response.rawreq));
  ASSERT_GE(response.rawreply.size(), 5U);
  EXPECT_EQ(response.rawreply.substr(0, 2), "\x01\x43");
  EXPECT_TRUE(HasValidCrc16(response.rawreply));
  EXPECT_EQ(response.function, 0x43);
}

TEST_F(SerialOperationsTest, NamesPadsAndValueNameLists) {
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

TEST_F(SerialOperationsTest, WritesChangeTheDriveAndComeBackEchoed) {
  const udtDriveResponse written = drive_.WriteValue(1, 4, -1234);
  ASSERT_FALSE(written.Error) << written.intData;
  EXPECT_EQ(written.intData, -1234);
  EXPECT_FLOAT_EQ(written.sglData, -1234.0F);
  EXPECT_EQ(rig_.Sim().Value(104), -1234);
  EXPECT_EQ(drive_.ReadValue(1, 4).intData, -1234);

  const udtDriveResponse renamed = drive_.WriteDVD(12, 11, 1, "Line Speed      ");
  ASSERT_FALSE(renamed.Error) << renamed.intData;
  EXPECT_EQ(drive_.ReadDVD(12, 11, 1).strData, "Line Speed      ");
}

TEST_F(SerialOperationsTest, DriveExceptionsComeBackAsTheirCodes) {
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
  EXPECT_EQ(rig_.Sim().Value(1129), 2105);
}

TEST_F(SerialOperationsTest, RawQueryReturnsTheReplyData) {
  const udtDriveResponse isEthernet = drive_.RawQuery(0x48, std::string(1, '\0'));
  ASSERT_FALSE(isEthernet.Error) << isEthernet.intData;
  EXPECT_EQ(isEthernet.strData, std::string("\0\0", 2));
  const udtDriveResponse erase = drive_.RawQuery(37, std::string(1, '\0'));
  ASSERT_FALSE(erase.Error);
  EXPECT_EQ(erase.byteCount, 0);
}

TEST_F(SerialOperationsTest, PingFindsTheDriveAndNothingAtAnotherAddress) {
  const udtDriveResponse found = drive_.Ping();
  EXPECT_FALSE(found.Error);
  EXPECT_EQ(found.driveID, 1);
  EXPECT_GT(rig_.Server().AverageResponseTime(), 0.0);

  drive_.SetAddress(9);
  const udtDriveResponse nobody = drive_.Ping();
  EXPECT_TRUE(nobody.Error);
  EXPECT_EQ(nobody.intData, gioTimeout);
}

TEST_F(SerialOperationsTest, NoModuleSelectedSendsNothing) {
  rig_.Sim().ResetStats();
  rig_.Server().SelectModule("None");
  const udtDriveResponse response = drive_.ReadValue(11, 29);
  EXPECT_TRUE(response.Error);
  EXPECT_EQ(response.intData, gioNoModule);
  rig_.Server().SelectModule("Serial");
  EXPECT_FALSE(drive_.ReadValue(11, 29).Error);
  EXPECT_EQ(rig_.Sim().RequestCount(), 1);
}

TEST_F(SerialOperationsTest, ReservationKeepsOtherWindowsOffTheLine) {
  auto flashWindow = rig_.OpenContext();
  ASSERT_TRUE(rig_.Server().Reserve(flashWindow.get()));
  rig_.Sim().ResetStats();
  EXPECT_EQ(drive_.ReadValue(11, 29).intData, gioSlaveDeviceBusy);
  EXPECT_FALSE(flashWindow->ReadValue(11, 29).Error);
  EXPECT_EQ(rig_.Sim().RequestCount(), 1);
  flashWindow->CloseContext();
  EXPECT_FALSE(drive_.ReadValue(11, 29).Error);
}

}  // namespace
}  // namespace quendrel

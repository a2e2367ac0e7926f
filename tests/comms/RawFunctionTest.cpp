// Raw queries with functions whose replies this program has no layout for, as scripts send them to
// gateways and third-party devices: the transport's framing delimits the reply, on every transport.
// A code the drive also uses is held to the drive's layout only in the code set the context speaks.
#include <gtest/gtest.h>

#include <memory>

#include "comms/server/GIOError.h"
#include "comms/support/EthernetRig.h"
#include "comms/support/SerialRig.h"
#include "foundation/values/Crc16.h"

namespace quendrel {
namespace {

using namespace std::string_literals;

enum class Transport { Serial, ModbusTcp, RtuOverTcp };

std::string TransportName(const ::testing::TestParamInfo<Transport>& info) {
  static const char* const kNames[] = {"Serial", "ModbusTcp", "RtuOverTcp"};
  return kNames[static_cast<int>(info.param)];
}

std::unique_ptr<DriveRig> RigFor(Transport transport) {
  if (transport == Transport::Serial) return std::make_unique<SerialRig>();
  return std::make_unique<EthernetRig>(EthernetRig::OnProtocol(
      transport == Transport::ModbusTcp ? EthernetModule::kModbusTcp : EthernetModule::kRtuOverTcp));
}

class RawFunctionTest : public ::testing::TestWithParam<Transport> {
 protected:
  std::unique_ptr<DriveRig> rig_ = RigFor(GetParam());
};

TEST_P(RawFunctionTest, WriteMultipleRegistersIsAnsweredWithoutACountByte) {
  // M03P02 and M03P03 set to 380 and 1500.
  const udtDriveResponse written = rig_->Context().RawQuery(0x10, "\x03\x02\x00\x02\x04\x01\x7C\x05\xDC"s);
  ASSERT_FALSE(written.Error) << written.intData;
  EXPECT_EQ(written.function, 0x10);
  EXPECT_EQ(written.strData, "\x03\x02\x00\x02"s);
  std::string listing = "\x01\x10\x03\x02\x00\x02"s;
  AppendCrc16(listing);
  EXPECT_EQ(written.rawreply, listing);
  EXPECT_EQ(rig_->Sim().Value(302), 380);
  EXPECT_EQ(rig_->Sim().Value(303), 1500);
  // The drive's refusal has the one layout every function shares.
  const udtDriveResponse refused = rig_->Context().RawQuery(0x10, "\x05\x04\x00\x01\x02\x00\x01"s);
  EXPECT_TRUE(refused.Error);
  EXPECT_EQ(refused.intData, 2);
  EXPECT_FALSE(rig_->Context().ReadValue(11, 29).Error);
}

// Codes 5 and 0x2B are also the drive's own (legacy WriteDVD, a flash function); a standard peer
// answers them its own way, and only a context on the legacy codes expects the drive's layout.
TEST_P(RawFunctionTest, StandardWriteSingleCoilAndDeviceIdentificationRepliesAreTaken) {
  const udtDriveResponse coil = rig_->Context().RawQuery(0x05, "\x04\x04\xFF\x00"s);
  ASSERT_FALSE(coil.Error) << coil.intData;
  EXPECT_EQ(coil.function, 0x05);
  EXPECT_EQ(coil.strData, "\x04\x04\xFF\x00"s);
  EXPECT_EQ(rig_->Sim().Value(404), 1);
  const udtDriveResponse notABit = rig_->Context().RawQuery(0x05, "\x02\x01\xFF\x00"s);
  EXPECT_TRUE(notABit.Error);
  EXPECT_EQ(notABit.intData, 2);

  const udtDriveResponse identity = rig_->Context().RawQuery(0x2B, "\x0E\x01\x00"s);
  ASSERT_FALSE(identity.Error) << identity.intData;
  EXPECT_EQ(identity.function, 0x2B);
  EXPECT_EQ(identity.strData, "\x0E\x01\x81\x00\x00\x03\x00\x08Quendrel\x01\x07QD-4007\x02\x05" "2.105"s);
  std::string listing = "\x01\x2B"s + identity.strData;
  AppendCrc16(listing);
  EXPECT_EQ(identity.rawreply, listing);
  const udtDriveResponse single = rig_->Context().RawQuery(0x2B, "\x0E\x04\x02"s);
  ASSERT_FALSE(single.Error) << single.intData;
  EXPECT_EQ(single.strData, "\x0E\x04\x81\x00\x00\x01\x02\x05" "2.105"s);

  rig_->Sim().SetLegacy(true);
  rig_->Context().SetLegacy(true);
  const udtDriveResponse renamed = rig_->Context().RawQuery(0x05, "\x0C\x0B\x00\x01\x04" "Fast"s);
  ASSERT_FALSE(renamed.Error) << renamed.intData;
  EXPECT_EQ(renamed.byteCount, 4);
  EXPECT_EQ(renamed.strData, "\x0C\x0B\x00\x01"s);
  EXPECT_FALSE(rig_->Context().ReadValue(11, 29).Error);
}

INSTANTIATE_TEST_SUITE_P(Transports, RawFunctionTest,
                         ::testing::Values(Transport::Serial, Transport::ModbusTcp, Transport::RtuOverTcp),
                         TransportName);

TEST(ModbusTcpLayoutTest, AReplyShorterThanItsLayoutIsInvalidAndTheConnectionStays) {
  EthernetRig rig(EthernetRig::OnProtocol(EthernetModule::kModbusTcp));
  ASSERT_FALSE(rig.Context().ReadValue(11, 29).Error);
  rig.Sim().SetFault("length next 1 -3");
  EXPECT_EQ(rig.Context().ReadValue(11, 29).intData, gioInvalidPacket);
  EXPECT_TRUE(rig.Module().IsConnected());
  const udtDriveResponse next = rig.Context().ReadValue(11, 28);
  ASSERT_FALSE(next.Error) << next.intData;
  EXPECT_EQ(next.strData, "QD-4007");
}

// A function without a layout of its own is delimited by the header alone: one that counts short of
// its reply must neither pass for a whole reply nor leave the rest to be read as the next one's.
TEST(ModbusTcpLayoutTest, AHeaderCountingShortOfItsReplyFailsThatExchangeAlone) {
  EthernetRig rig(EthernetRig::OnProtocol(EthernetModule::kModbusTcp));
  for (const auto& [function, payload] : {std::pair{0x05, "\x04\x04\xFF\x00"s}, std::pair{0x2B, "\x0E\x01\x00"s}}) {
    rig.Sim().SetFault("length next 1 -2");
    const udtDriveResponse cut = rig.Context().RawQuery(static_cast<std::uint8_t>(function), payload);
    EXPECT_TRUE(cut.Error && cut.intData == gioInvalidPacket) << function << ": error " << cut.intData;
    const udtDriveResponse next = rig.Context().ReadValue(11, 29);
    EXPECT_FALSE(next.Error) << function << ": error " << next.intData;
  }
}

}  // namespace
}  // namespace quendrel

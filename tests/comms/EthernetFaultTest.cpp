// Every TCP fault the simulated drive can play, on both protocols: each gives the right code within
// its timeout, and the exchange after it finds the drive again.
#include <gtest/gtest.h>

#include "comms/server/GIOError.h"
#include "comms/support/EthernetRig.h"

namespace quendrel {
namespace {

class EthernetFaultTest : public ::testing::TestWithParam<int> {
 protected:
  void ExpectRecovered() {
    const udtDriveResponse response = drive_.ReadValue(11, 29);
    ASSERT_FALSE(response.Error) << response.intData << " detail " << response.extraData;
    EXPECT_EQ(response.intData, 2105);
  }

  EthernetRig rig_{EthernetRig::OnProtocol(GetParam())};
  GIOContext& drive_ = rig_.Context();
};

struct FaultCase {
  const char* rule;
  int code;
  int detail;  // of an error 11
};

TEST_P(EthernetFaultTest, EachFaultGivesItsCodeAndTheNextExchangeRecovers) {
  const FaultCase cases[] = {
      {"drop next 1", gioTimeout, 0},
      {"stop next 1", gioTimeout, 0},
      {"late next 1 600", gioTimeout, 0},
      {"crc next 1", gioInvalidPacket, 0},
      {"address next 1", gioInvalidPacket, 0},
      // The header's length, or a serial frame's count, promises bytes that never come.
      {"length next 1", gioTimeout, 0},
      {"close next 1", gioSlaveNotResponding, gioConnectionClosed},
      {"cut next 1", gioSlaveNotResponding, gioConnectionClosed},
  };
  ExpectRecovered();
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.rule);
    rig_.Sim().SetFault(c.rule);
    const udtDriveResponse response = drive_.ReadValue(11, 29);
    EXPECT_TRUE(response.Error);
    EXPECT_EQ(response.intData, c.code);
    EXPECT_EQ(response.extraData, c.detail);
    // A late reply still on its way must not be taken for this one.
    ExpectRecovered();
  }
}

TEST_P(EthernetFaultTest, SlowPartialRepliesAreAssembled) {
  rig_.Sim().SetFault("split always 4 30");
  const udtDriveResponse response = drive_.ReadName(11, 29);
  ASSERT_FALSE(response.Error) << response.intData;
  EXPECT_EQ(response.strData, "Software Version");
}

TEST_P(EthernetFaultTest, EthernetRetriesResendAfterATimeout) {
  rig_.SetEthernetRetries(2);
  rig_.Sim().SetFault("drop next 2");
  rig_.Sim().ResetStats();
  ExpectRecovered();
  EXPECT_EQ(rig_.Sim().RequestCount(0x43), 3);
}

TEST_P(EthernetFaultTest, ADroppedConnectionIsReopenedAtTheNextExchange) {
  ExpectRecovered();
  rig_.Sim().DisconnectClients();
  // The drop may or may not have reached us before the next request goes out.
  const udtDriveResponse first = drive_.ReadValue(11, 29);
  if (first.Error) {
    EXPECT_EQ(first.intData, gioSlaveNotResponding);
    EXPECT_EQ(first.extraData, gioConnectionClosed);
  }
  ExpectRecovered();
  EXPECT_TRUE(rig_.Module().IsConnected());
}

TEST_P(EthernetFaultTest, NobodyListeningIsUnableToConnect) {
  rig_.Module().SetPort(1);
  const udtDriveResponse response = drive_.ReadValue(11, 29);
  EXPECT_TRUE(response.Error);
  EXPECT_EQ(response.intData, gioSlaveNotResponding);
  EXPECT_EQ(response.extraData, gioConnectFailed);
  EXPECT_EQ(static_cast<std::uint8_t>(response.rawreq[1]), 0x43);
  rig_.UseProtocol(GetParam());
  ExpectRecovered();
}

TEST_P(EthernetFaultTest, AnUnknownHostIsUnableToConnect) {
  rig_.Module().SetHost("no-such-host.invalid");
  const udtDriveResponse response = drive_.ReadValue(11, 29);
  EXPECT_EQ(response.intData, gioSlaveNotResponding);
  EXPECT_EQ(response.extraData, gioConnectFailed);
}

TEST_P(EthernetFaultTest, ALoginTheDriveDoesNotAskForTimesOutAsRefused) {
  rig_.Module().SetEncrypted(true);
  const udtDriveResponse response = drive_.ReadValue(11, 29);
  EXPECT_EQ(response.intData, gioSlaveNotResponding);
  EXPECT_EQ(response.extraData, gioAuthenticationFailed);
  EXPECT_FALSE(rig_.Module().IsConnected());
}

INSTANTIATE_TEST_SUITE_P(Protocols, EthernetFaultTest,
                         ::testing::Values(EthernetModule::kModbusTcp, EthernetModule::kRtuOverTcp),
                         [](const auto& info) { return info.param == 0 ? "ModbusTcp" : "RtuOverTcp"; });

// Faults only Modbus/TCP has: transaction ids and the unit's header.
class ModbusTcpFaultTest : public ::testing::Test {
 protected:
  EthernetRig rig_{EthernetRig::OnProtocol(EthernetModule::kModbusTcp)};
  GIOContext& drive_ = rig_.Context();
};

TEST_F(ModbusTcpFaultTest, AReplyUnderAnOldTransactionIdIsDropped) {
  ASSERT_FALSE(drive_.ReadValue(11, 29).Error);
  rig_.Sim().SetFault("oldtid next 1");
  const udtDriveResponse response = drive_.ReadValue(1, 4);
  ASSERT_FALSE(response.Error) << response.intData;
  EXPECT_EQ(response.intData, -250);
  rig_.Sim().SetFault("oldtid next 1 1");
  const udtDriveResponse stale = drive_.ReadValue(1, 4);
  EXPECT_TRUE(stale.Error);
  EXPECT_EQ(stale.intData, gioTimeout);
}

TEST_F(ModbusTcpFaultTest, AWrongUnitOrProtocolIdIsInvalidWithoutDroppingTheConnection) {
  for (const char* rule : {"crc next 1", "address next 1"}) {
    SCOPED_TRACE(rule);
    rig_.Sim().SetFault(rule);
    EXPECT_EQ(drive_.ReadValue(11, 29).intData, gioInvalidPacket);
    EXPECT_TRUE(rig_.Module().IsConnected());
  }
}

TEST_F(ModbusTcpFaultTest, ALengthPastTheBytesSentTimesOutAndClosesTheConnection) {
  rig_.Sim().SetFault("length next 1");
  EXPECT_EQ(drive_.ReadValue(11, 29).intData, gioTimeout);
  EXPECT_FALSE(rig_.Module().IsConnected());
}

// The interface's login, with the simulated drive asking for a password.
class EthernetLoginTest : public ::testing::TestWithParam<int> {
 protected:
  static EthernetRig::Options WithPassword() {
    EthernetRig::Options options = EthernetRig::OnProtocol(GetParam());
    options.password = "Kv7!";
    return options;
  }

  EthernetRig rig_{WithPassword()};
  GIOContext& drive_ = rig_.Context();
};

TEST_P(EthernetLoginTest, WrongOrMissingPasswordIsRefused) {
  rig_.Module().SetCryptKey("kv7!");
  const udtDriveResponse wrong = drive_.ReadValue(11, 29);
  EXPECT_EQ(wrong.intData, gioSlaveNotResponding);
  EXPECT_EQ(wrong.extraData, gioAuthenticationFailed);
  rig_.Module().SetEncrypted(false);
  const udtDriveResponse missing = drive_.ReadValue(11, 29);
  EXPECT_TRUE(missing.Error);
  rig_.Module().SetEncrypted(true);
  rig_.Module().SetCryptKey("Kv7!");
  EXPECT_FALSE(drive_.ReadValue(11, 29).Error);
  // Only the right password got in.
  EXPECT_EQ(rig_.Sim().Command("logins").rfind("logins 1 ", 0), 0U);
}

TEST_P(EthernetLoginTest, RefusedLoginIsAuthenticationFailedAndClosesTheConnection) {
  rig_.Sim().SetFault("refuse next 1");
  const udtDriveResponse refused = drive_.ReadValue(11, 29);
  EXPECT_EQ(refused.intData, gioSlaveNotResponding);
  EXPECT_EQ(refused.extraData, gioAuthenticationFailed);
  EXPECT_FALSE(rig_.Module().IsConnected());
  const udtDriveResponse next = drive_.ReadValue(11, 29);
  EXPECT_FALSE(next.Error) << next.intData;
}

TEST_P(EthernetLoginTest, AnEmptyPasswordIsAPasswordToo) {
  rig_.Sim().ResetStats();
  rig_.Module().SetCryptKey("");
  EXPECT_EQ(drive_.ReadValue(11, 29).extraData, gioAuthenticationFailed);
}

INSTANTIATE_TEST_SUITE_P(Protocols, EthernetLoginTest,
                         ::testing::Values(EthernetModule::kModbusTcp, EthernetModule::kRtuOverTcp),
                         [](const auto& info) { return info.param == 0 ? "ModbusTcp" : "RtuOverTcp"; });

}  // namespace
}  // namespace quendrel

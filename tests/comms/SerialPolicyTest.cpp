// Retries, legacy codes, failsoft and timeouts, counted where it matters: on the drive's side.
#include <gtest/gtest.h>

#include "comms/server/GIOError.h"
#include "comms/support/SerialRig.h"
#include "foundation/settings/Config.h"

namespace quendrel {
namespace {

constexpr int kReadValue = 0x43;
constexpr int kLegacyReadValue = 3;

TEST(SerialPolicyTest, InvalidPacketsAreResentExactlyUpToGeneralRetries) {
  SerialRig rig;
  rig.Sim().SetFault("crc");
  for (const int retries : {0, 1, 2, 4}) {
    SCOPED_TRACE(retries);
    rig.SetGeneralRetries(retries);
    rig.Sim().ResetStats();
    const udtDriveResponse response = rig.Context().ReadValue(11, 29);
    EXPECT_EQ(response.intData, gioInvalidPacket);
    EXPECT_EQ(rig.Sim().RequestCount(kReadValue), std::max(1, retries));
  }
}

// A count typed into the file by hand passes the dialogs' 0-100 check or the built-in default (3)
// applies: against a drive whose every reply is damaged, the read still ends.
TEST(SerialPolicyTest, AGeneralRetriesTheDialogsWouldRefuseSendsTheDefaultNumberOfTimes) {
  SerialRig rig;
  rig.Sim().SetFault("crc");
  for (const char* stored : {"101", "-1", "1e9", "2.5", "many", "2147483647"}) {
    SCOPED_TRACE(stored);
    Config().SetValue("Retries", "General", stored);
    rig.Sim().ResetStats();
    EXPECT_EQ(rig.Context().ReadValue(11, 29).intData, gioInvalidPacket);
    EXPECT_EQ(rig.Sim().RequestCount(kReadValue), 3);
    EXPECT_EQ(Config().Value("Retries", "General"), stored);
  }
  Config().SetValue("Retries", "General", "100");
  rig.Sim().ResetStats();
  EXPECT_EQ(rig.Context().ReadValue(11, 29).intData, gioInvalidPacket);
  EXPECT_EQ(rig.Sim().RequestCount(kReadValue), 100);
}

TEST(SerialPolicyTest, TimeoutsAreResentExactlyUpToSerialRetries) {
  SerialRig rig;
  rig.SetTimeout(0.1);
  rig.SetGeneralRetries(3);
  rig.Sim().SetFault("drop");
  for (const int retries : {0, 2}) {
    SCOPED_TRACE(retries);
    rig.SetSerialRetries(retries);
    rig.Sim().ResetStats();
    EXPECT_EQ(rig.Context().ReadValue(11, 29).intData, gioTimeout);
    EXPECT_EQ(rig.Sim().RequestCount(kReadValue), 1 + retries);
  }
  rig.Sim().ClearFaults();
  rig.Sim().SetFault("drop next 1");
  rig.SetSerialRetries(1);
  EXPECT_FALSE(rig.Context().ReadValue(11, 29).Error);
}

TEST(SerialPolicyTest, FreshContextReachesALegacyDriveWithNoRetries) {
  SerialRig rig({"--legacy"});
  auto context = rig.OpenContext();
  const udtDriveResponse response = context->ReadValue(11, 29);
  ASSERT_FALSE(response.Error) << response.intData;
  EXPECT_EQ(response.intData, 2105);
  EXPECT_TRUE(context->Legacy());
  EXPECT_EQ(rig.Sim().RequestCount(kReadValue), 1);
  EXPECT_EQ(rig.Sim().RequestCount(kLegacyReadValue), 1);

  EXPECT_FALSE(context->WriteValue(1, 4, 5).Error);
  EXPECT_EQ(rig.Sim().RequestCount(0x46), 0);
  EXPECT_EQ(rig.Sim().RequestCount(6), 1);
}

TEST(SerialPolicyTest, CheckLegacyFollowsTheDrive) {
  SerialRig rig({"--legacy"});
  GIOContext& context = rig.Context();
  context.CheckLegacy();
  EXPECT_TRUE(context.Legacy());
  rig.Sim().SetLegacy(false);
  context.CheckLegacy();
  EXPECT_FALSE(context.Legacy());
  EXPECT_EQ(rig.Sim().RequestCount(kLegacyReadValue), 0);

  // No answer says nothing about the drive's codes.
  context.SetLegacy(true);
  rig.Sim().SetFault("stop next 1");
  context.CheckLegacy();
  EXPECT_TRUE(context.Legacy());
}

TEST(SerialPolicyTest, FailsoftSendsOnceWhateverTheRetrySettings) {
  SerialRig rig({"--legacy"});
  rig.SetTimeout(0.1);
  rig.SetGeneralRetries(5);
  rig.SetSerialRetries(3);
  GIOContext& context = rig.Context();
  context.SetFailsoft(true);

  const udtDriveResponse refused = context.ReadValue(11, 29);
  EXPECT_EQ(refused.intData, gioInvalidFunction);
  EXPECT_TRUE(context.Legacy());
  EXPECT_EQ(rig.Sim().RequestCount(), 1);

  for (const char* fault : {"crc", "drop"}) {
    SCOPED_TRACE(fault);
    rig.Sim().ClearFaults();
    rig.Sim().SetFault(fault);
    rig.Sim().ResetStats();
    EXPECT_TRUE(context.ReadValue(11, 29).Error);
    EXPECT_EQ(rig.Sim().RequestCount(), 1);
  }
}

TEST(SerialPolicyTest, TimeoutMinusOneFollowsTheSettingAndAnExplicitOneOverridesIt) {
  SerialRig rig;
  rig.SetTimeout(2.0);
  rig.Sim().SetFault("late next 1 300");
  EXPECT_FALSE(rig.Context().ReadValue(11, 29).Error);

  // Scripts change the setting between requests: the next one waits only as long as it now says.
  rig.SetTimeout(0.1);
  rig.Sim().SetFault("late next 1 300");
  EXPECT_EQ(rig.Context().ReadValue(11, 29).intData, gioTimeout);

  auto patient = rig.OpenContext(2.0F);
  rig.Sim().SetFault("late next 1 300");
  const udtDriveResponse response = patient->ReadValue(11, 28);
  ASSERT_FALSE(response.Error) << response.intData;
  EXPECT_EQ(response.strData, "QD-4007");
}

TEST(SerialPolicyTest, TimeoutZeroSendsWithoutWaiting) {
  SerialRig rig;
  auto fireAndForget = rig.OpenContext(0.0F);
  const udtDriveResponse sent = fireAndForget->WriteValue(1, 4, 77);
  EXPECT_FALSE(sent.Error);
  EXPECT_TRUE(sent.rawreply.empty());
  EXPECT_EQ(sent.rawreq.substr(0, 6), std::string("\x01\x46\x01\x04\x00\x4d", 6));

  // Its unread echo must not pass for the answer to the next write.
  const udtDriveResponse next = rig.Context().WriteValue(1, 5, 9);
  ASSERT_FALSE(next.Error) << next.intData;
  EXPECT_EQ(next.intData, 9);
  EXPECT_EQ(rig.Sim().Value(104), 77);
  EXPECT_EQ(rig.Sim().Value(105), 9);
}

}  // namespace
}  // namespace quendrel

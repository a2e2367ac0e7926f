// Every line fault the simulated drive can inject: the right code, no hang, and a line that recovers.
#include <gtest/gtest.h>

#include "comms/server/GIOError.h"
#include "comms/support/SerialRig.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

TEST(SerialFaultTest, EachFaultGivesItsCodeAndTheNextRequestSucceeds) {
  struct FaultCase {
    const char* rule;
    int code;  // 0: the request still succeeds
  };
  const FaultCase cases[] = {
      {"drop next 1", gioTimeout},
      {"stop next 1", gioTimeout},
      {"crc next 1", gioInvalidPacket},
      {"address next 1", gioInvalidPacket},
      {"address next 1 7", gioInvalidPacket},
      {"noise next 1", gioInvalidPacket},
      {"noise next 1 40", gioInvalidPacket},
      {"split next 1 3 20", 0},
      {"split next 1 9 5", 0},
      {"late next 1 200", 0},
      {"late next 1 600", gioTimeout},
  };
  SerialRig rig;
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.rule);
    rig.Sim().SetFault(c.rule);
    const udtDriveResponse faulted = rig.Context().ReadValue(11, 29);
    EXPECT_EQ(faulted.Error, c.code != 0);
    if (c.code != 0) {
      EXPECT_EQ(faulted.intData, c.code);
    } else {
      EXPECT_EQ(faulted.intData, 2105);
    }
    const udtDriveResponse next = rig.Context().ReadValue(11, 28);
    ASSERT_FALSE(next.Error) << GIOErrorText(next.intData);
    EXPECT_EQ(next.strData, "QD-4007");
  }
}

TEST(SerialFaultTest, RetriesRideOutBrokenReplies) {
  SerialRig rig;
  rig.SetGeneralRetries(3);
  for (const char* rule : {"crc next 2", "noise next 2", "address next 2"}) {
    SCOPED_TRACE(rule);
    rig.Sim().SetFault(rule);
    rig.Sim().ResetStats();
    EXPECT_EQ(rig.Context().ReadValue(11, 29).intData, 2105);
    EXPECT_EQ(rig.Sim().RequestCount(), 3);
  }
}

TEST(SerialFaultTest, LateReplyIsNeverTakenForTheNextRequest) {
  SerialRig rig;
  rig.SetTimeout(0.5);
  rig.Sim().SetFault("late next 1 700");
  EXPECT_EQ(rig.Context().ReadValue(11, 29).intData, gioTimeout);
  // The stale value 2105 arrives while this request waits; only the model number may be taken.
  const udtDriveResponse next = rig.Context().ReadValue(11, 28);
  ASSERT_FALSE(next.Error) << GIOErrorText(next.intData);
  EXPECT_EQ(next.intData, 2);
  EXPECT_EQ(next.strData, "QD-4007");
}

TEST(SerialFaultTest, ADriveThatStopsAnsweringTimesOutEveryTime) {
  SerialRig rig;
  rig.SetTimeout(0.1);
  rig.SetGeneralRetries(2);
  rig.SetSerialRetries(1);
  rig.Sim().SetFault("stop");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(rig.Context().Ping().intData, gioTimeout);
  rig.Sim().ClearFaults();
  EXPECT_FALSE(rig.Context().Ping().Error);
}

TEST(SerialFaultTest, VanishedPortIsReportedAsLostDriveAndReopenedAtTheNextExchange) {
  SerialRig rig;
  ASSERT_FALSE(rig.Context().Ping().Error);
  rig.Sim().SetFault("close next 1");
  const udtDriveResponse vanished = rig.Context().ReadValue(11, 29);
  EXPECT_TRUE(vanished.Error);
  EXPECT_EQ(vanished.intData, gioSlaveNotResponding);
  EXPECT_EQ(vanished.extraData, gioReceiveFailed);
  EXPECT_TRUE(IsConnectionLost(vanished.intData));

  // Unplugged: the device is gone until it comes back.
  const udtDriveResponse absent = rig.Context().Ping();
  EXPECT_EQ(absent.intData, gioSlaveNotResponding);
  EXPECT_EQ(absent.extraData, gioPortOpenFailed);
  EXPECT_FALSE(rig.Module().IsOpen());
  // The status bar shows why the drive is gone.
  EXPECT_EQ(rig.Server().LastTransportError(), gioPortOpenFailed);

  rig.Sim().ReopenPort();
  const udtDriveResponse back = rig.Context().ReadValue(11, 29);
  ASSERT_FALSE(back.Error) << GIOErrorText(back.intData);
  EXPECT_EQ(back.intData, 2105);
  EXPECT_EQ(rig.Server().LastTransportError(), 0);
}

TEST(SerialFaultTest, PortThatComesBackByItselfIsFoundByAReconnectPing) {
  SerialRig rig;
  rig.SetTimeout(0.2);
  rig.Sim().SetFault("close next 1 100");
  EXPECT_EQ(rig.Context().ReadValue(11, 29).intData, gioSlaveNotResponding);
  // The reconnect timer's pings, at its pace and for a bounded time.
  Clock& clock = SystemClockInstance();
  const double giveUp = clock.MonotonicSeconds() + 5.0;
  bool answered = false;
  while (!answered && clock.MonotonicSeconds() < giveUp) {
    answered = !rig.Context().Ping().Error;
    if (!answered) clock.Sleep(0.02);
  }
  EXPECT_TRUE(answered);
}

}  // namespace
}  // namespace quendrel

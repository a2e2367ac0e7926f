// The serial port names one device from the moment it is configured, or from the first open that
// finds one when none was plugged in then: when an adapter is unplugged and the ones after it move
// down the list, the reconnect never reaches another machine's drive.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "comms/modules/SerialModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

namespace fs = std::filesystem;

TEST(SerialDeviceIdentityTest, AReconnectReachesOnlyTheDeviceConfiguredEvenWhenTheListShifts) {
  DriveSimProcess driveA;
  DriveSimProcess driveB;
  const TempFolder devices;
  fs::create_symlink(driveA.DevicePath(), devices.File("ttyUSB0"));
  fs::create_symlink(driveB.DevicePath(), devices.File("ttyUSB1"));
  ResetConfig();
  Config().SetValue("ComPort", "Serial Port", "0");
  Config().SetValue("Timeout", "Serial Port", "0.4");
  GIOServer server(SystemClockInstance());
  auto& serial = static_cast<SerialModule&>(
      server.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance(), devices.Path().string())));
  server.SelectModule("Serial");
  const auto context = server.OpenContext(1, -1);
  ASSERT_FALSE(context->Ping().Error);
  EXPECT_EQ(serial.DevicePath(), devices.File("ttyUSB0"));

  // A's adapter is unplugged: its open handle hangs up and B's device is now first in the list.
  fs::remove(devices.File("ttyUSB0"));
  driveA.ClosePort();
  for (int attempt = 0; attempt < 3; ++attempt) {
    const udtDriveResponse lost = context->WriteValue(1, 3, 777);
    EXPECT_EQ(lost.intData, gioSlaveNotResponding);
    if (attempt > 0) {
      EXPECT_EQ(lost.extraData, gioPortOpenFailed);
    }
  }
  EXPECT_EQ(driveB.RequestCount(), 0);
  EXPECT_EQ(serial.DevicePath(), devices.File("ttyUSB0"));

  driveA.ReopenPort();
  fs::create_symlink(driveA.DevicePath(), devices.File("ttyUSB0"));
  const udtDriveResponse back = context->WriteValue(1, 3, 777);
  ASSERT_FALSE(back.Error) << back.intData;
  EXPECT_EQ(driveA.Value(103), 777);
  EXPECT_EQ(driveB.Value(103), 100);
  EXPECT_EQ(driveB.RequestCount(), 0);
  server.Shutdown();
  ResetConfig();
}

TEST(SerialDeviceIdentityTest, AnAdapterPluggedInAfterStartUpIsFoundAndThenKept) {
  DriveSimProcess driveA;
  DriveSimProcess driveB;
  const TempFolder devices;
  ResetConfig();
  Config().SetValue("ComPort", "Serial Port", "0");
  Config().SetValue("Timeout", "Serial Port", "0.4");
  GIOServer server(SystemClockInstance());
  auto& serial = static_cast<SerialModule&>(
      server.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance(), devices.Path().string())));
  server.SelectModule("Serial");
  const auto context = server.OpenContext(1, -1);

  // Started before the adapter is plugged in.
  const udtDriveResponse absent = context->WriteValue(1, 3, 777);
  EXPECT_EQ(absent.intData, gioSlaveNotResponding);
  EXPECT_EQ(absent.extraData, gioPortOpenFailed);
  EXPECT_EQ(serial.DevicePath(), "");

  fs::create_symlink(driveA.DevicePath(), devices.File("ttyUSB0"));
  const udtDriveResponse found = context->WriteValue(1, 3, 777);
  ASSERT_FALSE(found.Error) << found.intData;
  EXPECT_EQ(driveA.Value(103), 777);
  EXPECT_EQ(serial.DevicePath(), devices.File("ttyUSB0"));

  // A's adapter is unplugged and B's plugged in: B is now the first device, and ComPort 0 is bound to A's.
  fs::remove(devices.File("ttyUSB0"));
  driveA.ClosePort();
  fs::create_symlink(driveB.DevicePath(), devices.File("ttyUSB1"));
  for (int attempt = 0; attempt < 3; ++attempt) {
    const udtDriveResponse lost = context->WriteValue(1, 3, 555);
    EXPECT_EQ(lost.intData, gioSlaveNotResponding);
  }
  EXPECT_EQ(driveB.RequestCount(), 0);
  EXPECT_EQ(driveB.Value(103), 100);
  EXPECT_EQ(serial.DevicePath(), devices.File("ttyUSB0"));
  server.Shutdown();
  ResetConfig();
}

}  // namespace
}  // namespace quendrel

// The serial module's settings: which device ComPort names, how the port is set up, and what a
// missing device gives.
#include <gtest/gtest.h>

#include <limits>

#include "comms/modules/SerialModule.h"
#include "comms/server/GIOError.h"
#include "comms/support/SerialRig.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

class SerialModuleSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetConfig(); }
  SerialModule module_{SystemClockInstance()};
};

TEST_F(SerialModuleSettingsTest, ComPortIndexesTheConfiguredDeviceList) {
  Config().SetValue("PortNames", "Serial Port", "/dev/ttyUSB0; /dev/ttyS3 ;;/dev/ttyACM1");
  EXPECT_EQ(module_.PortNames(), (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyS3", "/dev/ttyACM1"}));
  struct PortCase {
    int comPort;
    const char* path;
  };
  for (const PortCase c :
       {PortCase{0, "/dev/ttyUSB0"}, PortCase{2, "/dev/ttyACM1"}, PortCase{3, ""}, PortCase{-1, ""}}) {
    module_.SetComPort(c.comPort);
    EXPECT_EQ(module_.DevicePath(), c.path) << c.comPort;
  }
}

TEST_F(SerialModuleSettingsTest, SettingsAreReadFromTheIniAndWrittenBack) {
  Config().SetValue("BaudRate", "Serial Port", "9600");
  Config().SetValue("ComPort", "Serial Port", "2");
  Config().SetValue("Parity", "Serial Port", "2");
  Config().SetValue("StopBits", "Serial Port", "1");
  Config().SetValue("DataBits", "Serial Port", "7");
  module_.Startup();
  EXPECT_EQ(module_.BaudRate(), 5);
  EXPECT_EQ(module_.ComPort(), 2);
  EXPECT_EQ(module_.Parity(), 2);
  EXPECT_EQ(module_.StopBits(), 1);
  EXPECT_EQ(module_.DataBits(), "7");

  module_.SetBaudRate(9);
  module_.SetParity(1);
  module_.SaveSettings();
  EXPECT_EQ(Config().Value("BaudRate", "Serial Port"), "115200");
  EXPECT_EQ(Config().Value("Parity", "Serial Port"), "1");
}

TEST_F(SerialModuleSettingsTest, DefaultsAreThoseOfAFreshInstallation) {
  module_.Startup();
  EXPECT_EQ(module_.BaudRate(), 6);
  EXPECT_EQ(module_.ComPort(), 0);
  EXPECT_EQ(module_.Parity(), 0);
  EXPECT_EQ(module_.StopBits(), 0);
  EXPECT_EQ(module_.DataBits(), "8");
  EXPECT_DOUBLE_EQ(module_.ConfiguredTimeout(), 1.0);
}

TEST_F(SerialModuleSettingsTest, MissingDeviceIsALostDriveWithTheOpenDetail) {
  Config().SetValue("PortNames", "Serial Port", "/nonexistent/ttyQ9");
  module_.Startup();
  DriveRequest request;
  request.service = DriveService::ReadValue;
  const udtDriveResponse response = module_.Exchange(request, 0.1, false);
  EXPECT_TRUE(response.Error);
  EXPECT_EQ(response.intData, gioSlaveNotResponding);
  EXPECT_EQ(response.extraData, gioPortOpenFailed);
  EXPECT_EQ(response.rawreq.substr(0, 2), "\x01\x43");
  EXPECT_FALSE(module_.WriteByte(0x0D, false));
}

TEST(SerialModuleLineTest, ResetReopensAndSettingsApplyToAnOpenPort) {
  SerialRig rig;
  SerialModule& module = rig.Module();
  module.Reset();
  EXPECT_TRUE(module.IsOpen());
  for (int code = 0; code <= 9; ++code) {
    module.SetBaudRate(code);
    EXPECT_TRUE(module.IsOpen()) << "baud code " << code;
  }
  module.SetParity(2);
  EXPECT_TRUE(module.IsOpen());
  module.ClearBuffers();
  const udtDriveResponse response = rig.Context().ReadValue(11, 29);
  EXPECT_EQ(response.intData, 2105) << response.extraData;
  module.SetComPort(1);
  EXPECT_FALSE(module.IsOpen());
  EXPECT_EQ(rig.Context().ReadValue(11, 29).extraData, gioPortOpenFailed);
}

TEST(SerialModuleLineTest, TimeoutsBeyondAnyWaitStillReadAndNaNMeansTheConfiguredOne) {
  SerialRig rig;
  for (const float timeout : {std::numeric_limits<float>::infinity(), 3e38F}) {
    EXPECT_EQ(rig.OpenContext(timeout)->ReadValue(11, 29).intData, 2105) << timeout;
  }
  rig.Sim().SetFault("drop next 1");
  const udtDriveResponse unanswered = rig.OpenContext(std::numeric_limits<float>::quiet_NaN())->ReadValue(11, 29);
  EXPECT_EQ(unanswered.intData, gioTimeout);
}

}  // namespace
}  // namespace quendrel

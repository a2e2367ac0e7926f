#include "flash/support/ScriptDriveRig.h"

#include <stdexcept>

#include "comms/modules/SerialModule.h"
#include "foundation/settings/Config.h"
#include "foundation/text/NumberText.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/Clock.h"

namespace quendrel {

ScriptDriveRig::ScriptDriveRig(std::vector<std::string> simulatorArguments)
    : sim_(std::make_unique<DriveSimProcess>(std::move(simulatorArguments))), server_(SystemClockInstance()) {
  ResetConfig();
  if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) {
    throw std::runtime_error("cannot load the simulated drive's compatibility file");
  }
  Config().SetValue("PortNames", "Serial Port", sim_->DevicePath());
  Config().SetValue("ComPort", "Serial Port", "0");
  Config().SetValue("Timeout", "Serial Port", SingleToText(kTimeout));
  Config().SetValue("Retries", "Serial Port", "0");
  Config().SetValue("Retries", "General", "0");
  server_.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance()));
  server_.Startup();
  server_.SelectModule("Serial");
}

ScriptDriveRig::~ScriptDriveRig() {
  server_.Shutdown();
  FirmwareCompatibility() = FirmwareCompatibilityFile{};
  ResetConfig();
}

}  // namespace quendrel

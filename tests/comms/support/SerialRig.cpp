#include "comms/support/SerialRig.h"

#include "foundation/settings/Config.h"
#include "foundation/text/NumberText.h"
#include "platform/Clock.h"

namespace quendrel {

SerialRig::SerialRig(std::vector<std::string> simulatorArguments) : DriveRig(std::move(simulatorArguments)) {
  Config().SetValue("PortNames", "Serial Port", Sim().DevicePath());
  Config().SetValue("ComPort", "Serial Port", "0");
  SetTimeout(kTimeout);
  SetSerialRetries(0);
  module_ = static_cast<SerialModule*>(&Install(std::make_unique<SerialModule>(SystemClockInstance())));
}

void SerialRig::SetSerialRetries(int retries) {
  Config().SetValue("Retries", "Serial Port", std::to_string(retries));
}

void SerialRig::SetTimeout(double seconds) {
  Config().SetValue("Timeout", "Serial Port", DoubleToText(seconds));
}

void SerialRig::SetLocalEcho(bool on) { Config().SetValue("LocalEcho", "Serial Port", on); }

}  // namespace quendrel

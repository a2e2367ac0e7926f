#include "comms/support/SerialRig.h"

#include "foundation/Config.h"
#include "foundation/NumberText.h"
#include "platform/Clock.h"

namespace quendrel {

SerialRig::SerialRig(std::vector<std::string> simulatorArguments)
    : sim_(std::make_unique<DriveSimProcess>(std::move(simulatorArguments))), server_(SystemClockInstance()) {
  ResetConfig();
  Config().SetValue("PortNames", "Serial Port", sim_->DevicePath());
  Config().SetValue("ComPort", "Serial Port", "0");
  SetTimeout(kTimeout);
  SetSerialRetries(0);
  SetGeneralRetries(0);
  module_ = static_cast<SerialModule*>(
      &server_.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance())));
  server_.Startup();
  server_.SelectModule("Serial");
  context_ = server_.OpenContext(1, -1);
}

SerialRig::~SerialRig() {
  context_.reset();
  server_.Shutdown();
}

void SerialRig::SetSerialRetries(int retries) {
  Config().SetValue("Retries", "Serial Port", std::to_string(retries));
}

void SerialRig::SetGeneralRetries(int retries) {
  Config().SetValue("Retries", "General", std::to_string(retries));
}

void SerialRig::SetTimeout(double seconds) {
  Config().SetValue("Timeout", "Serial Port", DoubleToText(seconds));
}

void SerialRig::SetLocalEcho(bool on) { Config().SetValue("LocalEcho", "Serial Port", on); }

}  // namespace quendrel

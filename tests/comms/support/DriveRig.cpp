#include "comms/support/DriveRig.h"

#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {

DriveRig::DriveRig(std::vector<std::string> simulatorArguments)
    : sim_(std::make_unique<DriveSimProcess>(std::move(simulatorArguments))), server_(SystemClockInstance()) {
  ResetConfig();
  SetGeneralRetries(0);
}

DriveRig::~DriveRig() {
  context_.reset();
  server_.Shutdown();
}

GIOModule& DriveRig::Install(std::unique_ptr<GIOModule> transport) {
  transport_ = &server_.RegisterModule(std::move(transport));
  server_.Startup();
  server_.SelectModule(transport_->Name());
  context_ = server_.OpenContext(1, -1);
  return *transport_;
}

void DriveRig::SetGeneralRetries(int retries) {
  Config().SetValue("Retries", "General", std::to_string(retries));
}

}  // namespace quendrel

// The "None" module: selected when no transport is, it answers every request with "no module".
#pragma once

#include "comms/modules/GIOModule.h"

namespace quendrel {

class NullModule final : public GIOModule {
 public:
  std::string Name() const override { return "None"; }
  void Startup() override {}
  void Shutdown() override {}
  double ConfiguredTimeout() const override { return 1.0; }
  udtDriveResponse Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) override;
  bool WriteByte(std::uint8_t byte, bool waitForEcho) override;
  bool TakeByte(std::uint8_t& byte, double timeoutSeconds) override;
};

}  // namespace quendrel

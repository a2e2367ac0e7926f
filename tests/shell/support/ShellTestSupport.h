// What the shell's tests share: the render output folder and a module that only counts.
#pragma once

#include <string>
#include <vector>

#include "comms/modules/GIOModule.h"
#include "support/QtTestApp.h"

namespace quendrel {

class FakeClock;

// Where a test puts the pictures people look at: $QUENDREL_TEST_OUTPUT/shell/<name>, or the
// system's temporary folder when run outside ctest.
std::string RenderOutputPath(const std::string& name);

// A transport that answers every exchange at once, taking secondsPerExchange on the clock.
class CountingModule final : public GIOModule {
 public:
  CountingModule(std::string name, FakeClock* clock = nullptr) : name_(std::move(name)), clock_(clock) {}

  std::string Name() const override { return name_; }
  void Startup() override { ++startups; }
  void Shutdown() override { ++shutdowns; }
  double ConfiguredTimeout() const override { return 1.0; }
  udtDriveResponse Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) override;
  bool WriteByte(std::uint8_t, bool) override { return false; }
  bool TakeByte(std::uint8_t&, double) override { return false; }

  int startups = 0;
  int shutdowns = 0;
  int exchanges = 0;
  double secondsPerExchange = 0.0;

 private:
  std::string name_;
  FakeClock* clock_;
};

}  // namespace quendrel

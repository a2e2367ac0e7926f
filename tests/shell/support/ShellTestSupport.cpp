#include "shell/support/ShellTestSupport.h"

#include "platform/FakeClock.h"
#include "support/TestOutput.h"

namespace quendrel {

std::string RenderOutputPath(const std::string& name) { return TestOutputPath("shell", name); }

udtDriveResponse CountingModule::Exchange(const DriveRequest&, double, bool) {
  ++exchanges;
  if (clock_ != nullptr) clock_->Advance(secondsPerExchange);
  udtDriveResponse response;
  response.driveID = 1;
  response.rawreply = std::string("\x01\x43\x00", 3);
  return response;
}

}  // namespace quendrel

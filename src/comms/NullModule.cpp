#include "comms/NullModule.h"

#include "comms/GIOError.h"
#include "comms/SerialFrameCodec.h"

namespace quendrel {

udtDriveResponse NullModule::Exchange(const DriveRequest& request, double, bool) {
  return SerialFrameCodec::Unsent(request, gioNoModule);
}

bool NullModule::WriteByte(std::uint8_t, bool) { return false; }

bool NullModule::TakeByte(std::uint8_t&, double) { return false; }

}  // namespace quendrel

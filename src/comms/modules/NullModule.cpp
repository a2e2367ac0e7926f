#include "comms/modules/NullModule.h"

#include "comms/modules/SerialFrameCodec.h"
#include "comms/server/GIOError.h"

namespace quendrel {

udtDriveResponse NullModule::Exchange(const DriveRequest& request, double, bool) {
  return SerialFrameCodec::Unsent(request, gioNoModule);
}

bool NullModule::WriteByte(std::uint8_t, bool) { return false; }

bool NullModule::TakeByte(std::uint8_t&, double) { return false; }

}  // namespace quendrel

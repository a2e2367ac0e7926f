// Lets parameters be written: hands the drive its access code under the parameter its firmware keeps
// it in.
#pragma once

#include <cstdint>

#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class GIOContext;

// The code every drive of the family accepts.
inline constexpr std::int32_t kDriveAccessCode = 48213;

// Reads the software version; only when that read succeeds, writes the access code as a raw 16-bit
// word to the access-code parameter of that version. Returns the response of the last request (the
// failed read, or the write). The context is neither opened nor closed here.
udtDriveResponse UnlockDrive(GIOContext& ctx);

}  // namespace quendrel

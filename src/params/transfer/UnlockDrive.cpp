#include "params/transfer/UnlockDrive.h"

#include "comms/server/GIOContext.h"
#include "foundation/text/BitText.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"

namespace quendrel {

udtDriveResponse UnlockDrive(GIOContext& ctx) {
  const FirmwareCompatibilityFile& fc2 = FirmwareCompatibility();
  const std::int32_t sv = fc2.SoftwareVersion();
  const udtDriveResponse version =
      ctx.ReadValue(static_cast<std::uint8_t>(sv / 100), static_cast<std::uint8_t>(sv % 100));
  if (version.Error) return version;
  const std::int32_t code = fc2.AccessCode(version.sglData);
  return ctx.WriteValue(static_cast<std::uint8_t>(code / 100), static_cast<std::uint8_t>(code % 100),
                        LowWordOf(kDriveAccessCode));
}

}  // namespace quendrel

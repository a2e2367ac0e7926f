#include "foundation/text/DriveAddress.h"

#include <cmath>
#include <limits>

#include "foundation/text/NumberText.h"

namespace quendrel {

std::uint8_t DriveAddressFromText(std::string_view text) {
  if (!HasLeadingNumber(text)) return 0;
  const double rounded = RoundHalfEvenValue(LeadingNumber(text));
  const bool fits = std::isfinite(rounded) && rounded >= std::numeric_limits<std::int32_t>::min() &&
                    rounded <= std::numeric_limits<std::int32_t>::max();
  if (!fits) return 0;
  return static_cast<std::uint8_t>(static_cast<std::int32_t>(rounded) & 0xFF);
}

std::optional<std::uint8_t> SingleDriveAddressFromText(std::string_view text) {
  const std::uint8_t address = DriveAddressFromText(text);
  if (!AddressesOneDrive(address)) return std::nullopt;
  return address;
}

}  // namespace quendrel

#include "flash/runner/DriveFlashAddress.h"

#include <cmath>
#include <limits>

#include "foundation/text/DriveAddress.h"
#include "foundation/text/NumberText.h"

namespace quendrel {

std::string DriveFlashAddressText(std::string_view typed) {
  return DoubleToText(std::floor(LeadingNumber(typed)) + 0.0);
}

std::optional<std::uint8_t> DriveFlashAddressByte(std::string_view text) {
  const double value = RoundHalfEvenValue(LeadingNumber(text));
  if (!std::isfinite(value) || value < 0 || value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  const auto address = static_cast<std::uint8_t>(std::fmod(value, 256.0));
  if (!AddressesOneDrive(address)) return std::nullopt;
  return address;
}

}  // namespace quendrel

// Reads the drive address a user typed, the same way in every window that takes one, and says which
// addresses name a single drive.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quendrel {

// Every drive on the line executes a request sent to address 0 and none answers it: a typo there
// would change every drive while the window reports a timeout.
inline constexpr std::uint8_t kBroadcastAddress = 0;

// The one rule every request obeys: it goes to a single drive.
constexpr bool AddressesOneDrive(std::uint8_t address) { return address != kBroadcastAddress; }

// The leading number of the text (as LeadingNumber reads it), rounded half to even and reduced to its
// low 8 bits, so -1 gives 255 and 257 gives 1. A text without a number, or whose number is not finite or
// lies beyond the 32-bit integer range, gives 0, which addresses no single drive.
std::uint8_t DriveAddressFromText(std::string_view text);

// The address DriveAddressFromText reads, or nothing when it is not a single drive's.
std::optional<std::uint8_t> SingleDriveAddressFromText(std::string_view text);

}  // namespace quendrel

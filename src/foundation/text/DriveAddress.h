// Reads the drive address a user typed, the same way in every window that takes one.
#pragma once

#include <cstdint>
#include <string_view>

namespace quendrel {

// The leading number of the text (as LeadingNumber reads it), rounded half to even and reduced to its
// low 8 bits, so -1 gives 255 and 257 gives 1. A text without a number, or whose number is not finite or
// lies beyond the 32-bit integer range, gives 0, which addresses no single drive.
std::uint8_t DriveAddressFromText(std::string_view text);

}  // namespace quendrel

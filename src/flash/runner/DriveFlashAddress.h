// The drive flash window's address box: what a typed text becomes, and the drive address a script
// runs at.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

// The whole-number part (floor) of the number the text starts with; "0" for a text that starts
// with none.
std::string DriveFlashAddressText(std::string_view typed);

// The box's value rounded to a whole number, modulo 256 (300 gives 44). Nothing for a negative
// value or one beyond the 32-bit range, which names no drive, nor for one whose remainder is 0
// (0, 256, a text without a number), which every drive would run.
std::optional<std::uint8_t> DriveFlashAddressByte(std::string_view text);

}  // namespace quendrel

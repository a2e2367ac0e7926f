#pragma once

// The serial port's baud-rate codes 0..9 and the rates they stand for.

#include <cstdint>
#include <string_view>

namespace quendrel {

// The rate in bits per second of code 0..9 (110, 300, 1200, 2400, 4800, 9600, 19200, 38400,
// 57600, 115200); any other value is taken as a rate already and returned unchanged.
std::int32_t BaudRateFromIndex(std::int32_t code);

// The code of the rate a text starts with, such as "19200", "9600 bps", "19.2kbps" or
// "115.2 Kbps" ("kbps" at the end, in any letter case, multiplies by 1000). 56 and 56000 count as
// 57600; any other text gives 6 (19200).
std::int16_t BaudRateIndex(std::string_view text);

}  // namespace quendrel

// How bytes are written on the simulator's control channel: each as " XX", upper-case hexadecimal.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace quendrel {

// Both ends of the control channel write bytes this way, so it is kept here, in one place.
inline std::string ControlHex(std::string_view bytes) {
  std::string text;
  char digits[4];
  for (const char c : bytes) {
    std::snprintf(digits, sizeof digits, " %02X", static_cast<unsigned>(static_cast<std::uint8_t>(c)));
    text += digits;
  }
  return text;
}

}  // namespace quendrel

// The sixteen colours series take by default and the samples use, as 0x00BBGGRR values.
#pragma once

#include <array>
#include <cstdint>

namespace quendrel {

constexpr std::uint32_t PaletteRgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red | (green << 8) | (blue << 16);
}

inline constexpr std::array<std::uint32_t, 16> kGraphPalette = {
    PaletteRgb(0, 0, 0),       PaletteRgb(0, 0, 128),     PaletteRgb(0, 128, 0),
    PaletteRgb(0, 128, 128),   PaletteRgb(128, 0, 0),     PaletteRgb(128, 0, 128),
    PaletteRgb(128, 128, 0),   PaletteRgb(192, 192, 192), PaletteRgb(128, 128, 128),
    PaletteRgb(0, 0, 255),     PaletteRgb(0, 255, 0),     PaletteRgb(0, 255, 255),
    PaletteRgb(255, 0, 0),     PaletteRgb(255, 0, 255),   PaletteRgb(255, 255, 0),
    PaletteRgb(255, 255, 255)};

}  // namespace quendrel

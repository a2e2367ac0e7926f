#include "platform/SystemColors.h"

#include <array>

namespace quendrel {
namespace {

constexpr std::uint32_t Bgr(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (b << 16) | (g << 8) | r;
}

constexpr std::array<std::uint32_t, SystemColorCount> kClassicScheme = {
    Bgr(212, 208, 200),  // 0 scroll bar
    Bgr(58, 110, 165),   // 1 desktop
    Bgr(10, 36, 106),    // 2 active caption
    Bgr(128, 128, 128),  // 3 inactive caption
    Bgr(212, 208, 200),  // 4 menu
    Bgr(255, 255, 255),  // 5 window background
    Bgr(0, 0, 0),        // 6 window frame
    Bgr(0, 0, 0),        // 7 menu text
    Bgr(0, 0, 0),        // 8 window text
    Bgr(255, 255, 255),  // 9 caption text
    Bgr(212, 208, 200),  // 10 active border
    Bgr(212, 208, 200),  // 11 inactive border
    Bgr(128, 128, 128),  // 12 application workspace
    Bgr(10, 36, 106),    // 13 highlight
    Bgr(255, 255, 255),  // 14 highlight text
    Bgr(212, 208, 200),  // 15 button face
    Bgr(128, 128, 128),  // 16 button shadow
    Bgr(128, 128, 128),  // 17 grey text
    Bgr(0, 0, 0),        // 18 button text
    Bgr(212, 208, 200),  // 19 inactive caption text
    Bgr(255, 255, 255),  // 20 button highlight
    Bgr(64, 64, 64),     // 21 dark 3-D shadow
    Bgr(212, 208, 200),  // 22 3-D light
    Bgr(0, 0, 0),        // 23 tooltip text
    Bgr(255, 255, 225),  // 24 tooltip background
    Bgr(192, 192, 192),  // 25 unused
    Bgr(0, 0, 128),      // 26 hot-tracked item
    Bgr(166, 202, 240),  // 27 active caption gradient
    Bgr(192, 192, 192),  // 28 inactive caption gradient
    Bgr(10, 36, 106),    // 29 menu highlight
    Bgr(212, 208, 200),  // 30 menu bar
};

std::array<std::uint32_t, SystemColorCount> scheme = kClassicScheme;

}  // namespace

std::uint32_t ResolveColor(std::uint32_t color) {
  if ((color & 0x80000000u) == 0) return color & 0x00FFFFFFu;
  const std::uint32_t index = color & 0xFFu;
  if ((color & 0x7FFFFF00u) != 0 || index >= scheme.size()) return 0;
  return scheme[index];
}

void SetSystemColor(int index, std::uint32_t bgr) {
  if (index < 0 || index >= SystemColorCount) return;
  scheme[static_cast<std::size_t>(index)] = bgr & 0x00FFFFFFu;
}

void ResetSystemColors() { scheme = kClassicScheme; }

}  // namespace quendrel

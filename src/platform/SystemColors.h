// The desktop's system colours, so that a colour 0x800000nn can be turned into the RGB value
// it stands for on every drawing surface alike.
#pragma once

#include <cstdint>

namespace quendrel {

// System colour indexes the windows use.
inline constexpr int sysInactiveCaption = 3;
inline constexpr int sysWindow = 5;
inline constexpr int sysWindowText = 8;
inline constexpr int sysInactiveBorder = 11;
inline constexpr int sysHighlight = 13;
inline constexpr int sysHighlightText = 14;
inline constexpr int sysButtonFace = 15;
inline constexpr int sysGrayText = 17;
inline constexpr int sysButtonText = 18;
inline constexpr int sysInactiveCaptionText = 19;
inline constexpr int sysDarkShadow = 21;
inline constexpr int SystemColorCount = 31;

// 0x00BBGGRR for a plain colour; a system colour (0x800000nn) looked up in the table, which
// starts as the classic grey desktop scheme. Unknown system colours give black.
std::uint32_t ResolveColor(std::uint32_t color);

// Lets the desktop side fill the table from the real scheme at start-up.
void SetSystemColor(int index, std::uint32_t bgr);
// Back to the classic scheme (for tests that changed the table).
void ResetSystemColors();

}  // namespace quendrel

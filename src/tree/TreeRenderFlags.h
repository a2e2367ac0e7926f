// The decoration bits of a parameter tree and the fixed pixel sizes its rows are built from.
#pragma once

#include <cstdint>

namespace quendrel {

inline constexpr std::int32_t rfIcons = 1;
inline constexpr std::int32_t rfCaption = 2;
inline constexpr std::int32_t rfValue = 4;
inline constexpr std::int32_t rfLines = 8;
inline constexpr std::int32_t rfPlusMinus = 16;

// Twips in one screen pixel, both directions.
inline constexpr float TreeTwipsPerPixel = 15.0f;

// The tree's own colours: system colours follow the desktop scheme.
inline constexpr std::uint32_t tcWindow = 0x80000005u;
inline constexpr std::uint32_t tcWindowText = 0x80000008u;
inline constexpr std::uint32_t tcHighlight = 0x8000000Du;
inline constexpr std::uint32_t tcHighlightText = 0x8000000Eu;
inline constexpr std::uint32_t tcGrayText = 0x80000011u;
inline constexpr std::uint32_t tcInactiveCaption = 0x80000003u;
inline constexpr std::uint32_t tcInactiveCaptionText = 0x80000013u;
inline constexpr std::uint32_t tcDarkShadow = 0x80000015u;
inline constexpr std::uint32_t tcGrey = 0x808080u;
inline constexpr std::uint32_t tcBlack = 0x000000u;

}  // namespace quendrel

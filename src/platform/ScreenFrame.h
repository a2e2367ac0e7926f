// How often a screen shows a new picture. A widget that may be refreshed thousands of times a second
// is painted once a frame at most: painting it more often costs time nobody sees.
#pragma once

namespace quendrel {

inline constexpr int kFrameMilliseconds = 16;
inline constexpr double kFrameSeconds = kFrameMilliseconds / 1000.0;

}  // namespace quendrel

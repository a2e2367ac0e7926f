#include "graph/pane/ColumnBounds.h"

#include <cmath>
#include <limits>

#include "platform/Canvas.h"

namespace quendrel {

// The first guesses, half a pixel either side of the column's centre, are a step or two off.
ColumnBounds ColumnBounds::Of(int column) {
  constexpr float kDown = -std::numeric_limits<float>::infinity();
  constexpr float kUp = std::numeric_limits<float>::infinity();
  const double centre = static_cast<double>(column) * TwipsPerPixel;
  float low = static_cast<float>(centre - TwipsPerPixel / 2.0);
  while (Canvas::ToPixel(low) >= column) low = std::nextafter(low, kDown);
  while (Canvas::ToPixel(low) < column) low = std::nextafter(low, kUp);
  float high = static_cast<float>(centre + TwipsPerPixel / 2.0);
  while (Canvas::ToPixel(high) <= column) high = std::nextafter(high, kUp);
  while (Canvas::ToPixel(high) > column) high = std::nextafter(high, kDown);
  return {low, high};
}

}  // namespace quendrel

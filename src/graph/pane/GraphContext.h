// The plot geometry of one drawing of a graph pane, handed from the frame to the renderer.
#pragma once

#include <cstdint>

namespace quendrel {

struct GraphRect {
  std::int32_t Left = 0;
  std::int32_t top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
};

// Every drawing starts from a zeroed record; a field only the frame writes stays 0 elsewhere.
struct GraphContext {
  GraphRect Virtual;  // the plot rectangle, in twips
  double maxVal = 0.0;
  double maxTime = 0.0;
  double minVal = 0.0;
  double minTime = 0.0;
  double firstVal = 0.0;
  double firstTime = 0.0;
  double lastVal = 0.0;
  double lastTime = 0.0;
  double xPixel = 0.0;
  double yPixel = 0.0;
  double xAxisH = 0.0;
  double xFactor = 0.0;
  double yFactor = 0.0;
};

}  // namespace quendrel

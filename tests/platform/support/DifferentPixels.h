// How many pixels of two canvas snapshots differ; the first few are reported as failures of the
// running test, so a mismatch shows where it is.
#pragma once

#include <gtest/gtest.h>

#include <ios>

#include "platform/CanvasImage.h"

namespace quendrel {

inline int DifferentPixels(const CanvasImage& actual, const CanvasImage& expected) {
  int differences = 0;
  for (int y = 0; y < actual.Height; ++y) {
    for (int x = 0; x < actual.Width; ++x) {
      if (actual.Pixel(x, y) == expected.Pixel(x, y)) continue;
      if (++differences <= 5) {
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << actual.Pixel(x, y)
                      << " instead of " << expected.Pixel(x, y);
      }
    }
  }
  return differences;
}

}  // namespace quendrel

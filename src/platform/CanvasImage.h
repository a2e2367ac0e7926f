// A small picture held as plain pixels, so image lists, snapshots and printing need no
// platform picture type in core code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quendrel {

struct CanvasImage {
  // The key the picture was taken from, shown in drawing logs.
  std::string Name;
  int Width = 0;   // pixels
  int Height = 0;  // pixels
  // Row-major 0xAARRGGBB; alpha 0 marks a transparent pixel.
  std::vector<std::uint32_t> Pixels;

  bool IsEmpty() const { return Width <= 0 || Height <= 0; }
  std::uint32_t Pixel(int x, int y) const {
    return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                  static_cast<std::size_t>(x)];
  }
};

}  // namespace quendrel

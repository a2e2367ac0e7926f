// The tree's scroll bookkeeping, handed to every node that draws so it can place its row.
#pragma once

#include <cstdint>

namespace quendrel {

struct ptScrollData {
  std::int32_t virtualWidth = 0;   // twips: the extent of the laid-out tree
  std::int32_t virtualHeight = 0;  // twips
  std::int32_t scrollx = 0;        // pixels
  std::int32_t scrolly = 0;        // pixels
  std::int16_t hFactor = 1;        // pixels per scroll bar unit
  std::int16_t vFactor = 1;
};

}  // namespace quendrel

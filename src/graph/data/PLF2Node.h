// One parameter's entry in the scan list: whether it is scanned, and how it is shown and logged.
#pragma once

#include <cstdint>

namespace quendrel {

struct PLF2Node {
  bool Present = false;
  std::uint32_t Color = 0;
  bool Logged = false;
  bool Graphed = false;
  double Gain = 0.0;
};

}  // namespace quendrel

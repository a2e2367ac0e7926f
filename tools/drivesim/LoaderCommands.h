// The control commands that set up the simulated flash loader and read back what it received.
#pragma once

#include <string>
#include <vector>

namespace quendrel {

class FlashLoader;

class LoaderCommands {
 public:
  // words[0] is "loader"; answers as every control command does ("ok", a result or "error ...").
  static std::string Execute(FlashLoader& loader, const std::vector<std::string>& words);
};

}  // namespace quendrel

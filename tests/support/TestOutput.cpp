#include "support/TestOutput.h"

#include <cstdlib>
#include <filesystem>

namespace quendrel {

std::string TestOutputPath(const std::string& area, const std::string& name) {
  const char* root = std::getenv("QUENDREL_TEST_OUTPUT");
  const std::filesystem::path folder =
      std::filesystem::path(root != nullptr ? root : std::filesystem::temp_directory_path().string()) / area;
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

}  // namespace quendrel

#include "flash/support/TempFolder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace quendrel {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "quendrel-loader-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
  if (name.empty() || name.find_first_of("/\\:") != std::string::npos || name == "..") {
    throw std::invalid_argument("not a plain file name: " + name);
  }
  const fs::path file = path_ / name;
  std::ofstream(file, std::ios::binary) << bytes;
  return file.string();
}

}  // namespace quendrel

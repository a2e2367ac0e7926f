#include "support/TempFolder.h"

#include <stdlib.h>

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "support/FileText.h"

namespace quendrel {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "quendrel-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
  if (name.empty() || name == ".." || name.find_first_of("/\\:") != std::string::npos) {
    throw std::invalid_argument("not a plain file name: " + name);
  }
  const std::string path = File(name);
  WriteTestFile(path, bytes);
  return path;
}

std::string TempFolder::Read(const std::string& name) const { return ReadTestFile(File(name)); }

std::vector<std::string> TempFolder::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quendrel

// Whole-file reads and writes for tests that check what a save left on disk.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace quendrel::testing {

// "" for a file that cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace quendrel::testing

// Whole-file reads and writes for tests that check what a save left on disk.
#pragma once

#include <string>

namespace quendrel {

// "" for a file that cannot be read.
std::string ReadTestFile(const std::string& path);
void WriteTestFile(const std::string& path, const std::string& bytes);

}  // namespace quendrel

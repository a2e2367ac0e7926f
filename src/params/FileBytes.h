// Whole-file reads for the parameter and compatibility files.
#pragma once

#include <optional>
#include <string>

namespace quendrel {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace quendrel

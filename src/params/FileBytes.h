// Whole-file reads and crash-safe whole-file writes for the parameter and compatibility files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames it over the
// target, so at every moment the target holds either its old or its new contents. On any failure the
// temporary file is removed, the target is untouched and the result is false.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// The temporary name WriteFileReplacing uses for a target.
std::string ReplacementTempPath(const std::string& path);

}  // namespace quendrel

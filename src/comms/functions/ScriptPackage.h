// The files of the package a running script came from, as drive functions look up the files a
// script names when they are not on disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quendrel {

// The largest file a script runs or names that is read from disk. Scripts and the hex files they send
// are texts of some hundred KB (a hex file's records address 64 KB of data at most); a larger file is
// refused before it is read.
inline constexpr std::uint64_t kLargestScriptFile = 16ULL << 20;

class ScriptPackage {
 public:
  virtual ~ScriptPackage() = default;
  // The member's bytes, or nothing when the package has no such file.
  virtual std::optional<std::string> FileText(const std::string& path) const = 0;
};

}  // namespace quendrel

// The files of the package a running script came from, as drive functions look up the files a
// script names when they are not on disk.
#pragma once

#include <optional>
#include <string>

namespace quendrel {

class ScriptPackage {
 public:
  virtual ~ScriptPackage() = default;
  // The member's bytes, or nothing when the package has no such file.
  virtual std::optional<std::string> FileText(const std::string& path) const = 0;
};

}  // namespace quendrel

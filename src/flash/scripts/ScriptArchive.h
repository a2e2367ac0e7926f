// The read-only view of a firmware upgrade package that a script takes its member files from.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/files/TextStream.h"

namespace quendrel {

class ScriptArchive {
 public:
  virtual ~ScriptArchive() = default;
  virtual bool FileExists(const std::string& name) const = 0;
  // The member's bytes, or nothing when the package has no such member.
  virtual std::optional<std::string> GetFile(const std::string& name) const = 0;
  // The member as a text stream, or nothing when the package has no such member.
  virtual std::unique_ptr<TextStream> GetStream(const std::string& name) const = 0;
};

}  // namespace quendrel

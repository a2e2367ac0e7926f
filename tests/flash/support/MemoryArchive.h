// A script's archive held in memory, for tests that look files up in a package without one.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "flash/scripts/ScriptArchive.h"
#include "foundation/files/qovStringStream.h"

namespace quendrel::testing {

class MemoryArchive final : public ScriptArchive {
 public:
  explicit MemoryArchive(std::map<std::string, std::string> files) : files_(std::move(files)) {}
  bool FileExists(const std::string& name) const override { return files_.contains(name); }
  std::optional<std::string> GetFile(const std::string& name) const override {
    const auto it = files_.find(name);
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }
  std::unique_ptr<TextStream> GetStream(const std::string& name) const override {
    const auto text = GetFile(name);
    if (!text) return nullptr;
    return std::make_unique<qovStringStream>(*text);
  }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace quendrel::testing

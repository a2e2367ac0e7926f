// The process's current directory for one test, where the user's relative names are taken from;
// the one before comes back when the object goes, whatever the test changed it to meanwhile.
#pragma once

#include <filesystem>

namespace quendrel {

class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder) : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() { std::filesystem::current_path(saved_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path saved_;
};

}  // namespace quendrel

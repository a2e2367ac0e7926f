// A fresh folder for one test's files, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quendrel {

class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // Names of everything in the folder, sorted.
  std::vector<std::string> Names() const;

 private:
  std::filesystem::path path_;
};

std::string ReadTestFile(const std::string& path);
void WriteTestFile(const std::string& path, const std::string& bytes);

}  // namespace quendrel

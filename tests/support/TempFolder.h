// A fresh folder of one test's own under the system's temporary folder, removed with everything in
// it when the object goes. Cases of one program run as parallel processes, so a test never writes a
// file of a fixed name anywhere else.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quendrel {

class TempFolder {
 public:
  // Throws std::runtime_error when no folder can be made.
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The full path of a file in the folder.
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // Writes the file (its name must stay inside the folder) and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  // "" when the file is missing.
  std::string Read(const std::string& name) const;
  // Names of everything in the folder, sorted.
  std::vector<std::string> Names() const;

 private:
  std::filesystem::path path_;
};

}  // namespace quendrel

#include "flash/scripts/ScriptFileTexts.h"

namespace quendrel {

std::string FileNotFoundText(const std::string& path) { return "File Not Found: " + path; }

std::string FileAccessText(const std::string& path, const std::string& reason) {
  return "Path/File access error: " + path + ": " + reason;
}

}  // namespace quendrel

#include "foundation/files/PathText.h"

#include <filesystem>
#include <system_error>

namespace quendrel {

namespace {
constexpr std::string_view kSeparators = "\\/";
}  // namespace

std::string GetPathFileName(std::string_view path) {
  const auto last = path.find_last_of(kSeparators);
  if (last == std::string_view::npos) return std::string(path);
  return std::string(path.substr(last + 1));
}

std::string GetPathFolder(std::string_view path) {
  const auto last = path.find_last_of(kSeparators);
  if (last == std::string_view::npos) {
    std::error_code error;
    return std::filesystem::current_path(error).string();
  }
  if (last == 0) return std::string(path.substr(0, 1));
  return std::string(path.substr(0, last));
}

}  // namespace quendrel

#pragma once

// Splitting file paths into folder and file name, with "\" or "/" as the separator, since paths
// come both from old settings files and from this system's dialogs.

#include <string>
#include <string_view>

namespace quendrel {

// The part right of the last "\" or "/"; the whole path when it has neither.
std::string GetPathFileName(std::string_view path);

// The part left of the last "\" or "/" (a path in the root folder gives the separator itself);
// the current directory when the path has neither.
std::string GetPathFolder(std::string_view path);

}  // namespace quendrel

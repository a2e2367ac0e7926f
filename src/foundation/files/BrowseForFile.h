// Asks the user for a file to open or to save to, through the program's common file dialog.
#pragma once

#include <cstdint>
#include <string>

namespace quendrel {

// filter is "description|pattern|description|pattern..."; filterIndex is 1-based. Opening asks for
// an existing file; saving asks before overwriting one. Returns the chosen path, or "" when the
// user cancels.
std::string BrowseForFile(bool save, const std::string& filter, std::int16_t filterIndex,
                          const std::string& title, const std::string& initialName);

}  // namespace quendrel

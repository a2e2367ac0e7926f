#pragma once

// The text form of a drive parameter number (menu × 100 + parameter), M12P05, and back.

#include <cstdint>
#include <string>

namespace quendrel {

// "M", the menu as two digits, "P", the parameter as two digits (1205 gives M12P05).
std::string ParameterIdText(std::int32_t n);

// Reads "M##P##" or "M##B##" in any letter case as menu × 100 + parameter. Any other text is
// reported to the user as an invalid parameter ID and gives -1.
std::int32_t ParseParameterId(const std::string& text);

}  // namespace quendrel

// Reads the yes/no fields of settings and list files, which different writers spelled differently over the years.
#pragma once

#include <string_view>

namespace quendrel {

// "true" or "false" in any letter case (outer blanks and tabs ignored); otherwise the text as a date
// (ParseDateText: non-zero calendar seconds mean True, so a bare "00:00" is False), then as a number
// (IsNumericText: non-zero means True, "-1" and "1" alike). Anything else, the empty text included, is False.
// Never raises.
bool ParseBoolean(std::string_view text);

}  // namespace quendrel

// Colours as the settings and scan list files write them: "#" and six hexadecimal digits, red first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

// A colour 0x00BBGGRR as "#RRGGBB" in upper-case hex (255, pure red, gives "#FF0000"). Only the low 24 bits
// count, so a system colour 0x800000nn is written as its index bytes; resolve it before writing.
std::string ColorToHtml(std::uint32_t color);

// Reads "#RRGGBB", "&H" and up to eight hexadecimal digits of a 0x00BBGGRR value (an "&" after them is
// allowed), or a colour name of the table below, ignoring letter case and outer blanks. Nothing for anything else.
// Names: the sixteen palette colours black, navy, green, teal, maroon, purple, olive, silver, gray, blue,
// lime, aqua, red, fuchsia, yellow, white, with grey, cyan and magenta as other spellings.
std::optional<std::uint32_t> TryParseColor(std::string_view text);

// TryParseColor, with a text it cannot read giving fallback (black unless the caller says otherwise).
std::uint32_t ParseColor(std::string_view text, std::uint32_t fallback = 0);

}  // namespace quendrel

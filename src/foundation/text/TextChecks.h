#pragma once

// Character-class tests and quote and escape handling for texts typed by users and read from
// scripts.

#include <string>
#include <string_view>

// Reading yes/no texts belongs with these checks for their callers.
#include "foundation/settings/ParseBoolean.h"

namespace quendrel {

// Each is true when the text is not empty and every character belongs to the class.
// Letters are a-z in either case only; bytes above 127 are never letters.
bool IsAlphanumericText(std::string_view text);  // letters, digits and "."
bool IsBlankText(std::string_view text);         // blank, tab, CR, LF
bool IsHexText(std::string_view text);           // 0-9, a-f, A-F
bool IsLetterText(std::string_view text);

// Removes enclosing double quotes as long as the text is at least two characters long and
// both starts and ends with one ("\"\"a\"\"" gives "a", "\"" stays "\"").
std::string StripQuotes(std::string_view text);

// The text without its enclosing quotes and with its backslash escapes resolved in one pass:
// \\ a backslash, \n CR LF, \t a tab, \" a double quote, \x and one to three hexadecimal digits
// the character of that code, taking only the digits that keep the code at or below 255.
// Anything else, a \x with no hexadecimal digit and a lone backslash at the end, stays as
// written.
std::string UnescapeString(std::string_view text);

}  // namespace quendrel

// The text form of a font ("Tahoma 8, Bold") in which settings and copies of fonts travel.
#pragma once

#include <string>
#include <string_view>

#include "platform/CanvasFont.h"

namespace quendrel {

// A font as a record: face name, size in points and the four style flags. The canvas's own font record,
// so a canvas font converts without a copy step.
using FontSpec = CanvasFont;

// Face name, a blank, the size as a whole number (8.25 gives 8, halves to even), ", ", then "Bold ",
// "Italic ", "Underline ", "Strikethrough " for each flag set or "Normal" when none is; trimmed.
std::string FontToString(const FontSpec& font);

// The reverse. A text holding ", " is split at its commas: in the first piece the part before the last
// blank is the face name and the rest, read as a number, the size (a first piece without a blank, or whose
// last word is no number, is the face name alone); the words of the second piece, in any case, set the flags "bold", "italic", "underline"
// and "strikethrough", other words being ignored. A text without ", " is, trimmed, the face name alone.
// What the text does not give keeps FontSpec's defaults.
FontSpec ParseFont(std::string_view text);

}  // namespace quendrel

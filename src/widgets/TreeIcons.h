// The program-wide image list of parameter tree icons, how [General] IconSet picks one of the
// main window's four sets, and whether trees show icons at all.
#pragma once

#include <array>
#include <string>

#include "platform/ImageList.h"

namespace quendrel {

enum class IconSetKind { Functional, Symbolic, ColoredSymbolic, Cards };

// "symbolic", "colored-symbolic" and "cards" in any letter case; anything else is the
// functional set, so a mistyped setting still shows icons.
IconSetKind IconSetFromSetting(const std::string& setting);

// Every set holds one image under each of these keys: a blank and the seven parameter icons.
inline constexpr std::array<const char*, 8> TreeIconKeys = {
    "blank", "menu", "pram", "readonly", "bitpram0", "readonlybit0", "bitpram1", "readonlybit1"};

// The chosen set. Before the main window sets it, an empty 16 x 16 list, so early callers
// draw nothing instead of failing.
const ImageList& TreeIcons();
// The list must outlive its use; nullptr returns to the empty list.
void SetTreeIcons(const ImageList* icons);

// [General] UseIcons as read at start-up: whether parameter trees show their icons.
bool UseIcons();
void SetUseIcons(bool useIcons);

}  // namespace quendrel

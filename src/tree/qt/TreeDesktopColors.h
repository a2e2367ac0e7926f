// Fills the system colour table the tree draws with from the desktop's palette, so the tree
// follows the user's colour scheme.
#pragma once

#include <QPalette>

namespace quendrel {

void ApplyDesktopColors(const QPalette& palette);

}  // namespace quendrel

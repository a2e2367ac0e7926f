#include "tree/qt/TreeDesktopColors.h"

#include "platform/SystemColors.h"
#include "platform/qt/QtConvert.h"

namespace quendrel {

void ApplyDesktopColors(const QPalette& palette) {
  const auto set = [&](int index, QPalette::ColorGroup group, QPalette::ColorRole role) {
    SetSystemColor(index, FromQColor(palette.color(group, role)));
  };
  set(sysWindow, QPalette::Active, QPalette::Base);
  set(sysWindowText, QPalette::Active, QPalette::Text);
  set(sysHighlight, QPalette::Active, QPalette::Highlight);
  set(sysHighlightText, QPalette::Active, QPalette::HighlightedText);
  set(sysGrayText, QPalette::Disabled, QPalette::Text);
  set(sysButtonFace, QPalette::Active, QPalette::Button);
  set(sysButtonText, QPalette::Active, QPalette::ButtonText);
  set(sysDarkShadow, QPalette::Active, QPalette::Shadow);
  // A partly ticked box: light face with a dark tick.
  set(sysInactiveCaptionText, QPalette::Active, QPalette::Button);
  set(sysInactiveCaption, QPalette::Active, QPalette::Dark);
}

}  // namespace quendrel

#include "widgets/TreeIcons.h"

#include <algorithm>
#include <cctype>

namespace quendrel {

namespace {

class EmptyImageList : public ImageList {
 public:
  int ImageWidth() const override { return 16; }
  int ImageHeight() const override { return 16; }
  bool HasImage(const std::string&) const override { return false; }
  CanvasImage Image(const std::string&) const override { return {}; }
};

const ImageList*& Chosen() {
  static const ImageList* chosen = nullptr;
  return chosen;
}

bool& IconsShown() {
  static bool shown = true;
  return shown;
}

}  // namespace

IconSetKind IconSetFromSetting(const std::string& setting) {
  std::string lower = setting;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "symbolic") return IconSetKind::Symbolic;
  if (lower == "colored-symbolic") return IconSetKind::ColoredSymbolic;
  if (lower == "cards") return IconSetKind::Cards;
  return IconSetKind::Functional;
}

const ImageList& TreeIcons() {
  static const EmptyImageList empty;
  return Chosen() != nullptr ? *Chosen() : empty;
}

void SetTreeIcons(const ImageList* icons) { Chosen() = icons; }

bool UseIcons() { return IconsShown(); }

void SetUseIcons(bool useIcons) { IconsShown() = useIcons; }

}  // namespace quendrel

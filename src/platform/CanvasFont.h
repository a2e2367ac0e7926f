// The font settings a canvas draws text with, as the platform's font objects hold them.
#pragma once

#include <string>

namespace quendrel {

struct CanvasFont {
  std::string Name = "MS Sans Serif";
  float Size = 8.25f;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikethrough = false;

  bool operator==(const CanvasFont&) const = default;
};

}  // namespace quendrel

// The saved design-time settings of a parameter tree, as texts under their keys, with the font
// apart.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/CanvasFont.h"

namespace quendrel {

class TreePropertyBag {
 public:
  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  std::string Read(const std::string& key, const std::string& defaultValue) const {
    const auto found = values_.find(key);
    return found == values_.end() ? defaultValue : found->second;
  }
  void Write(const std::string& key, const std::string& value) { values_[key] = value; }

  const std::optional<CanvasFont>& Font() const { return font_; }
  void WriteFont(const CanvasFont& font) { font_ = font; }

 private:
  std::map<std::string, std::string> values_;
  std::optional<CanvasFont> font_;
};

}  // namespace quendrel

#include "flash/language/LiteralTracker.h"

namespace quendrel {

bool LiteralTracker::Step(char c) {
  if (!open_) {
    open_ = c == '"';
    return open_;
  }
  if (escape_) {
    escape_ = false;
  } else if (c == '\\') {
    escape_ = true;
  } else if (c == '"') {
    open_ = false;
  }
  return true;
}

std::vector<bool> LiteralMask(const std::string& text) {
  std::vector<bool> inside(text.size(), false);
  LiteralTracker tracker;
  for (std::size_t i = 0; i < text.size(); ++i) {
    inside[i] = tracker.Step(text[i]);
  }
  return inside;
}

}  // namespace quendrel

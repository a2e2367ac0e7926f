#include "flash/language/ParseArrow.h"

#include <algorithm>

namespace quendrel {

void ParseArrow::SetTarget(std::string target) {
  target_ = std::move(target);
  rule_ = nullptr;
}

void ParseArrow::SetRule(const ParseRule* rule) {
  rule_ = rule;
  dot_ = 0;
  length_ = 0;
}

void ParseArrow::SetDot(std::int32_t dot) {
  dot_ = std::max<std::int32_t>(dot, 0);
  if (rule_ != nullptr) {
    dot_ = std::min<std::int32_t>(dot_, rule_->Length());
  }
}

bool ParseArrow::IsComplete() const {
  if (rule_ != nullptr) {
    return dot_ == rule_->Length();
  }
  return dot_ == length_ && dot_ >= 1;
}

std::string ParseArrow::Describe() const {
  static constexpr const char* kDoubleDagger = "\xE2\x80\xA1";
  std::string text = Target() + " => ";
  if (rule_ == nullptr) {
    return text;
  }
  const auto& symbols = rule_->PatternArray();
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    text += symbols[i];
    if (static_cast<std::int32_t>(i + 1) == dot_) {
      text += kDoubleDagger;
    }
    text += ' ';
  }
  return text;
}

}  // namespace quendrel

// A partial match in the chart: a grammar rule, how many of its symbols are matched and how
// many tokens they cover from the pole the arrow stands on.
#pragma once

#include <cstdint>
#include <string>

#include "flash/language/ParseRule.h"

namespace quendrel {

// An arrow without a rule stands for a token itself: its Target is the token's class name or
// its quoted text, and it is complete once it covers at least one token.
class ParseArrow {
 public:
  // The rule's target when a rule is set, else the arrow's own text.
  const std::string& Target() const { return rule_ != nullptr ? rule_->Target() : target_; }
  // Drops the rule, so the arrow then answers with this text.
  void SetTarget(std::string target);

  const ParseRule* Rule() const { return rule_; }
  // Starts the match over: Dot and Length return to 0.
  void SetRule(const ParseRule* rule);

  std::int32_t Dot() const { return dot_; }
  // Clamped to 0..Rule().Length(), or to at least 0 without a rule.
  void SetDot(std::int32_t dot);

  std::int32_t Length() const { return length_; }
  void SetLength(std::int32_t length) { length_ = length < 0 ? 0 : length; }

  bool Locked() const { return locked_; }
  void SetLocked(bool locked) { locked_ = locked; }

  bool IsComplete() const;

  // "target => sym sym‡ sym " with the double dagger (Latin-1 has none, so it is written as
  // its UTF-8 bytes) right after the last matched symbol.
  std::string Describe() const;

 private:
  std::string target_;
  const ParseRule* rule_ = nullptr;
  std::int32_t dot_ = 0;
  std::int32_t length_ = 0;
  bool locked_ = false;
};

}  // namespace quendrel

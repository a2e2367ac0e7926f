// One alternative of the script grammar: the symbol it defines and the symbols it expects.
#pragma once

#include <string>
#include <vector>

namespace quendrel {

class ParseRule {
 public:
  ParseRule() = default;
  ParseRule(std::string target, std::string pattern);

  const std::string& Target() const { return target_; }
  void SetTarget(std::string target) { target_ = std::move(target); }

  // The alternative as written; setting it splits it again at every single blank, so two
  // blanks in a row make an empty symbol.
  const std::string& Pattern() const { return pattern_; }
  void SetPattern(std::string pattern);

  const std::vector<std::string>& PatternArray() const { return patternArray_; }
  int Length() const { return static_cast<int>(patternArray_.size()); }

 private:
  std::string target_;
  std::string pattern_;
  std::vector<std::string> patternArray_;
};

}  // namespace quendrel

#include "flash/language/ParseRule.h"

namespace quendrel {

ParseRule::ParseRule(std::string target, std::string pattern) : target_(std::move(target)) {
  SetPattern(std::move(pattern));
}

void ParseRule::SetPattern(std::string pattern) {
  pattern_ = std::move(pattern);
  patternArray_.clear();
  if (pattern_.empty()) {
    return;
  }
  std::string::size_type start = 0;
  while (true) {
    const auto blank = pattern_.find(' ', start);
    if (blank == std::string::npos) {
      patternArray_.push_back(pattern_.substr(start));
      return;
    }
    patternArray_.push_back(pattern_.substr(start, blank - start));
    start = blank + 1;
  }
}

}  // namespace quendrel

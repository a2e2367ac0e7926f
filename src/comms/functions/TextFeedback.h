// Where a drive function writes its report: the drive test window's result box, or a string in tests.
#pragma once

#include <string>

namespace quendrel {

class TextFeedback {
 public:
  virtual ~TextFeedback() = default;
  // Replaces the whole text shown.
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace quendrel

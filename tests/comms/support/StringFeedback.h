// The report box of tests: keeps the last text and every text shown, in order.
#pragma once

#include <string>
#include <vector>

#include "comms/functions/TextFeedback.h"

namespace quendrel {

class StringFeedback final : public TextFeedback {
 public:
  void SetText(const std::string& text) override { shown.push_back(text); }
  std::string Text() const { return shown.empty() ? std::string() : shown.back(); }

  std::vector<std::string> shown;
};

}  // namespace quendrel

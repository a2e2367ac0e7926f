// A progress bar with a text drawn over it, as the program's text progress bar control.
#pragma once

#include "foundation/progress/ProgressBarSink.h"

#include <string>

namespace quendrel {

class ProgressTextBarSink : public ProgressBarSink {
 public:
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace quendrel

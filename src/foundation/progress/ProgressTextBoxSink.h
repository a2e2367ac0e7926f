// A text box that shows a ProgressServer's status or detail text.
#pragma once

#include "foundation/progress/ProgressControlSink.h"

#include <string>

namespace quendrel {

class ProgressTextBoxSink : public ProgressControlSink {
 public:
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace quendrel

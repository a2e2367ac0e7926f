// A label that shows a ProgressServer's status or detail text as its caption.
#pragma once

#include "foundation/progress/ProgressControlSink.h"

#include <string>

namespace quendrel {

class ProgressLabelSink : public ProgressControlSink {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
};

}  // namespace quendrel

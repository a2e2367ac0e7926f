// The small label whose background colour shows that a drive request is on the wire.
#pragma once

#include "foundation/progress/ProgressControlSink.h"

#include <cstdint>

namespace quendrel {

class ProgressIndicatorSink : public ProgressControlSink {
 public:
  // colour is 0x00BBGGRR.
  virtual void SetBackColor(std::uint32_t colour) = 0;
};

}  // namespace quendrel

// A control that a ProgressServer positions within a range: a progress bar or a slider.
#pragma once

#include "foundation/progress/ProgressControlSink.h"

#include <cstdint>

namespace quendrel {

class ProgressRangeSink : public ProgressControlSink {
 public:
  // The server never passes a range whose maximum lies below its minimum.
  virtual void SetRange(std::int32_t min, std::int32_t max) = 0;
  // The server never passes a value outside the last range it set.
  virtual void SetValue(std::int32_t value) = 0;
};

}  // namespace quendrel

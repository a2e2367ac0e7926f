#include "widgets/qt/progress/BarProgressSink.h"

namespace quendrel {

void BarProgressSink::SetRange(std::int32_t min, std::int32_t max) {
  if (control_) control_->setRange(min, max);
}

void BarProgressSink::SetValue(std::int32_t value) {
  if (control_) control_->setValue(value);
}

}  // namespace quendrel

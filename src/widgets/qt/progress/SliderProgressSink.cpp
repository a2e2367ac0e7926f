#include "widgets/qt/progress/SliderProgressSink.h"

#include <QSignalBlocker>

namespace quendrel {

void SliderProgressSink::SetRange(std::int32_t min, std::int32_t max) {
  if (control_) control_->setRange(min, max);
}

void SliderProgressSink::SetValue(std::int32_t value) {
  if (!control_) return;
  // Progress moving the thumb is not the user dragging it.
  const QSignalBlocker quiet(control_);
  control_->setValue(value);
}

}  // namespace quendrel

#include "shell/qt/SliderProgressSink.h"

#include <QSignalBlocker>

namespace quendrel {

void SliderProgressSink::SetRange(std::int32_t min, std::int32_t max) {
  if (slider_) slider_->setRange(min, max);
}

void SliderProgressSink::SetValue(std::int32_t value) {
  if (!slider_) return;
  // Progress moving the thumb is not the user dragging it.
  const QSignalBlocker quiet(slider_);
  slider_->setValue(value);
}

void SliderProgressSink::SetVisible(bool visible) {
  if (slider_) slider_->setVisible(visible);
}

void SliderProgressSink::Refresh() {
  if (slider_) slider_->repaint();
}

}  // namespace quendrel

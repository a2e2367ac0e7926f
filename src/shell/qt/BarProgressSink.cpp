#include "shell/qt/BarProgressSink.h"

namespace quendrel {

void BarProgressSink::SetRange(std::int32_t min, std::int32_t max) {
  if (bar_) bar_->setRange(min, max);
}

void BarProgressSink::SetValue(std::int32_t value) {
  if (bar_) bar_->setValue(value);
}

void BarProgressSink::SetVisible(bool visible) {
  if (bar_) bar_->setVisible(visible);
}

void BarProgressSink::Refresh() {
  if (bar_) bar_->repaint();
}

}  // namespace quendrel

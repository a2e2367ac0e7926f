#include "widgets/qt/progress/TextProgressBarSink.h"

namespace quendrel {

void TextProgressBarSink::SetRange(std::int32_t min, std::int32_t max) {
  if (!control_) return;
  control_->SetMin(static_cast<float>(min));
  control_->SetMax(static_cast<float>(max));
}

void TextProgressBarSink::SetValue(std::int32_t value) {
  if (control_) control_->SetValue(static_cast<float>(value));
}

void TextProgressBarSink::SetText(const std::string& text) {
  if (control_) control_->SetText(text);
}

void TextProgressBarSink::Refresh() {
  if (control_) control_->Refresh();
}

}  // namespace quendrel

#include "shell/qt/TextProgressBarSink.h"

namespace quendrel {

void TextProgressBarSink::SetRange(std::int32_t min, std::int32_t max) {
  if (!bar_) return;
  bar_->SetMin(static_cast<float>(min));
  bar_->SetMax(static_cast<float>(max));
}

void TextProgressBarSink::SetValue(std::int32_t value) {
  if (bar_) bar_->SetValue(static_cast<float>(value));
}

void TextProgressBarSink::SetText(const std::string& text) {
  if (bar_) bar_->SetText(text);
}

void TextProgressBarSink::SetVisible(bool visible) {
  if (bar_) bar_->setVisible(visible);
}

void TextProgressBarSink::Refresh() {
  if (bar_) bar_->Refresh();
}

}  // namespace quendrel

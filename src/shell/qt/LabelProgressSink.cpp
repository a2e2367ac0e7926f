#include "shell/qt/LabelProgressSink.h"

#include "platform/qt/QtConvert.h"

namespace quendrel {

void LabelProgressSink::SetCaption(const std::string& caption) {
  if (label_) label_->setText(ToQString(caption));
}

void LabelProgressSink::SetVisible(bool visible) {
  if (label_) label_->setVisible(visible);
}

void LabelProgressSink::Refresh() {
  if (label_) label_->repaint();
}

}  // namespace quendrel

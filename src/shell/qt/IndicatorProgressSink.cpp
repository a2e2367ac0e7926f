#include "shell/qt/IndicatorProgressSink.h"

#include <QPalette>

#include "platform/qt/QtConvert.h"

namespace quendrel {

IndicatorProgressSink::IndicatorProgressSink(QLabel* label) : label_(label) {
  // A label paints no background of its own unless told to.
  if (label_) label_->setAutoFillBackground(true);
}

void IndicatorProgressSink::SetBackColor(std::uint32_t colour) {
  if (!label_) return;
  QPalette palette = label_->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  label_->setPalette(palette);
}

void IndicatorProgressSink::SetVisible(bool visible) {
  if (label_) label_->setVisible(visible);
}

void IndicatorProgressSink::Refresh() {
  if (label_) label_->repaint();
}

}  // namespace quendrel

#include "widgets/qt/progress/IndicatorProgressSink.h"

#include <QPalette>

#include "platform/qt/QtConvert.h"

namespace quendrel {

IndicatorProgressSink::IndicatorProgressSink(QLabel* label) : WidgetProgressSink(label) {
  // A label paints no background of its own unless told to.
  if (control_) control_->setAutoFillBackground(true);
}

void IndicatorProgressSink::SetBackColor(std::uint32_t colour) {
  if (!control_) return;
  QPalette palette = control_->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  control_->setPalette(palette);
}

}  // namespace quendrel

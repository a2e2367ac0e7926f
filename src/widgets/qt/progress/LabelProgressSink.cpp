#include "widgets/qt/progress/LabelProgressSink.h"

#include "platform/qt/QtConvert.h"

namespace quendrel {

void LabelProgressSink::SetCaption(const std::string& caption) {
  if (control_) control_->setText(ToQString(caption));
}

}  // namespace quendrel

// Moves a QSlider's thumb along with a progress channel, for as long as the slider lives.
#pragma once

#include <QSlider>

#include "foundation/progress/ProgressSliderSink.h"
#include "widgets/qt/progress/WidgetProgressSink.h"

namespace quendrel {

class SliderProgressSink : public WidgetProgressSink<ProgressSliderSink, QSlider> {
 public:
  using WidgetProgressSink::WidgetProgressSink;

  void SetRange(std::int32_t min, std::int32_t max) override;
  void SetValue(std::int32_t value) override;
};

}  // namespace quendrel

// Moves a QSlider's thumb along with a progress channel, for as long as the slider lives.
#pragma once

#include <QPointer>
#include <QSlider>

#include "foundation/ProgressSliderSink.h"

namespace quendrel {

class SliderProgressSink : public ProgressSliderSink {
 public:
  explicit SliderProgressSink(QSlider* slider) : slider_(slider) {}

  void SetRange(std::int32_t min, std::int32_t max) override;
  void SetValue(std::int32_t value) override;
  void SetVisible(bool visible) override;
  void Refresh() override;

 private:
  QPointer<QSlider> slider_;
};

}  // namespace quendrel

// Positions a QProgressBar for a progress channel, for as long as the bar lives.
#pragma once

#include <QProgressBar>

#include "foundation/progress/ProgressBarSink.h"
#include "widgets/qt/progress/WidgetProgressSink.h"

namespace quendrel {

class BarProgressSink : public WidgetProgressSink<ProgressBarSink, QProgressBar> {
 public:
  using WidgetProgressSink::WidgetProgressSink;

  void SetRange(std::int32_t min, std::int32_t max) override;
  void SetValue(std::int32_t value) override;
};

}  // namespace quendrel

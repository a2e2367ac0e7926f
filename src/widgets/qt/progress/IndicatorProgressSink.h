// Colours a QLabel's background for a progress channel's on-the-wire indicator, for as long as
// the label lives.
#pragma once

#include <QLabel>

#include "foundation/progress/ProgressIndicatorSink.h"
#include "widgets/qt/progress/WidgetProgressSink.h"

namespace quendrel {

class IndicatorProgressSink : public WidgetProgressSink<ProgressIndicatorSink, QLabel> {
 public:
  explicit IndicatorProgressSink(QLabel* label);

  void SetBackColor(std::uint32_t colour) override;
};

}  // namespace quendrel

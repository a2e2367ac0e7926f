// Colours a QLabel's background for a progress channel's on-the-wire indicator, for as long as
// the label lives.
#pragma once

#include <QLabel>

#include "foundation/ProgressIndicatorSink.h"
#include "widgets/qt/WidgetProgressSink.h"

namespace quendrel {

class IndicatorProgressSink : public WidgetProgressSink<ProgressIndicatorSink, QLabel> {
 public:
  explicit IndicatorProgressSink(QLabel* label);

  void SetBackColor(std::uint32_t colour) override;
};

}  // namespace quendrel

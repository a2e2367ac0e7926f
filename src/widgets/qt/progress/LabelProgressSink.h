// Shows a progress channel's status or detail text in a QLabel, for as long as the label lives.
#pragma once

#include <QLabel>

#include "foundation/progress/ProgressLabelSink.h"
#include "widgets/qt/progress/WidgetProgressSink.h"

namespace quendrel {

class LabelProgressSink : public WidgetProgressSink<ProgressLabelSink, QLabel> {
 public:
  using WidgetProgressSink::WidgetProgressSink;

  void SetCaption(const std::string& caption) override;
};

}  // namespace quendrel

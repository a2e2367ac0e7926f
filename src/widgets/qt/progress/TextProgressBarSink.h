// Positions a TextProgressBar and sets its text for a progress channel, for as long as the
// control lives.
#pragma once

#include "foundation/progress/ProgressTextBarSink.h"
#include "widgets/qt/progress/TextProgressBar.h"
#include "widgets/qt/progress/WidgetProgressSink.h"

namespace quendrel {

class TextProgressBarSink : public WidgetProgressSink<ProgressTextBarSink, TextProgressBar> {
 public:
  using WidgetProgressSink::WidgetProgressSink;

  void SetRange(std::int32_t min, std::int32_t max) override;
  void SetValue(std::int32_t value) override;
  void SetText(const std::string& text) override;
  // The bar draws its picture anew rather than only repainting the old one.
  void Refresh() override;
};

}  // namespace quendrel

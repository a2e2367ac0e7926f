// Colours a QLabel's background for a progress channel's on-the-wire indicator, for as long as
// the label lives.
#pragma once

#include <QLabel>
#include <QPointer>

#include "foundation/ProgressIndicatorSink.h"

namespace quendrel {

class IndicatorProgressSink : public ProgressIndicatorSink {
 public:
  explicit IndicatorProgressSink(QLabel* label);

  void SetBackColor(std::uint32_t colour) override;
  void SetVisible(bool visible) override;
  void Refresh() override;

 private:
  QPointer<QLabel> label_;
};

}  // namespace quendrel

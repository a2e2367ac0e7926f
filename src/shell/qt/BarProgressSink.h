// Positions a QProgressBar for a progress channel, for as long as the bar lives.
#pragma once

#include <QPointer>
#include <QProgressBar>

#include "foundation/ProgressBarSink.h"

namespace quendrel {

class BarProgressSink : public ProgressBarSink {
 public:
  explicit BarProgressSink(QProgressBar* bar) : bar_(bar) {}

  void SetRange(std::int32_t min, std::int32_t max) override;
  void SetValue(std::int32_t value) override;
  void SetVisible(bool visible) override;
  void Refresh() override;

 private:
  QPointer<QProgressBar> bar_;
};

}  // namespace quendrel

// Shows a progress channel's status or detail text in a QLabel, for as long as the label lives.
#pragma once

#include <QLabel>
#include <QPointer>

#include "foundation/ProgressLabelSink.h"

namespace quendrel {

class LabelProgressSink : public ProgressLabelSink {
 public:
  explicit LabelProgressSink(QLabel* label) : label_(label) {}

  void SetCaption(const std::string& caption) override;
  void SetVisible(bool visible) override;
  void Refresh() override;

 private:
  QPointer<QLabel> label_;
};

}  // namespace quendrel

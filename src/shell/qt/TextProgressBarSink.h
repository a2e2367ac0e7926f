// Positions a TextProgressBar and sets its text for a progress channel, for as long as the
// control lives.
#pragma once

#include <QPointer>

#include "foundation/ProgressTextBarSink.h"
#include "shell/qt/TextProgressBar.h"

namespace quendrel {

class TextProgressBarSink : public ProgressTextBarSink {
 public:
  explicit TextProgressBarSink(TextProgressBar* bar) : bar_(bar) {}

  void SetRange(std::int32_t min, std::int32_t max) override;
  void SetValue(std::int32_t value) override;
  void SetText(const std::string& text) override;
  void SetVisible(bool visible) override;
  void Refresh() override;

 private:
  QPointer<TextProgressBar> bar_;
};

}  // namespace quendrel

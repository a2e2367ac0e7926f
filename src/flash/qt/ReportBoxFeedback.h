// Puts a drive function's report into the drive test window's report box, while the box lives.
#pragma once

#include <QPlainTextEdit>
#include <QPointer>

#include "comms/TextFeedback.h"

namespace quendrel {

class ReportBoxFeedback final : public TextFeedback {
 public:
  explicit ReportBoxFeedback(QPlainTextEdit* box) : box_(box) {}
  void SetBox(QPlainTextEdit* box) { box_ = box; }
  void SetText(const std::string& text) override;

 private:
  QPointer<QPlainTextEdit> box_;
};

}  // namespace quendrel

// Shows a progress channel's status or detail text in a one-line or a multi-line text box, for
// as long as the box lives.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "foundation/progress/ProgressTextBoxSink.h"

namespace quendrel {

class TextBoxProgressSink : public ProgressTextBoxSink {
 public:
  explicit TextBoxProgressSink(QLineEdit* line) : line_(line) {}
  explicit TextBoxProgressSink(QPlainTextEdit* box) : box_(box) {}

  void SetText(const std::string& text) override;
  void SetVisible(bool visible) override;
  void Refresh() override;

 private:
  QWidget* Widget() const;

  QPointer<QLineEdit> line_;
  QPointer<QPlainTextEdit> box_;
};

}  // namespace quendrel

#include "widgets/qt/progress/TextBoxProgressSink.h"

#include <QScrollBar>

#include "platform/qt/QtConvert.h"

namespace quendrel {

QWidget* TextBoxProgressSink::Widget() const {
  if (line_) return line_;
  return box_;
}

void TextBoxProgressSink::SetText(const std::string& text) {
  if (line_) line_->setText(ToQString(text));
  if (!box_) return;
  box_->setPlainText(ToQString(text));
  // Long reports grow at the bottom, where the newest line is.
  box_->verticalScrollBar()->setValue(box_->verticalScrollBar()->maximum());
}

void TextBoxProgressSink::SetVisible(bool visible) {
  if (QWidget* widget = Widget()) widget->setVisible(visible);
}

void TextBoxProgressSink::Refresh() {
  if (QWidget* widget = Widget()) widget->repaint();
}

}  // namespace quendrel

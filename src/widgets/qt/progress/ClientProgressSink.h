// Repaints a whole window for a progress channel whose controls appeared or vanished, for as long as
// the window lives.
#pragma once

#include <QLayout>
#include <QPointer>
#include <QWidget>

#include "foundation/progress/ProgressClientSink.h"

namespace quendrel {

class ClientProgressSink : public ProgressClientSink {
 public:
  explicit ClientProgressSink(QWidget* window) : window_(window) {}

  void Refresh() override {
    if (window_) LayOutAndPaint(*window_);
  }

  // Without the message pump, where a layout change would wait for: a window that is not pumped
  // while an operation runs still shows the controls that appeared in their places. Each widget's
  // own layout is applied, the outer ones first so the inner ones get their final size.
  static void LayOutAndPaint(QWidget& window) {
    if (QLayout* layout = window.layout()) layout->activate();
    for (QWidget* child : window.findChildren<QWidget*>()) {
      if (QLayout* layout = child->layout(); layout != nullptr && child->isVisible()) layout->activate();
    }
    window.repaint();
  }

 private:
  QPointer<QWidget> window_;
};

}  // namespace quendrel

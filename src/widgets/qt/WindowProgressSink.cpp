#include "widgets/qt/WindowProgressSink.h"

#include <QLayout>

namespace quendrel {

void WindowProgressSink::Refresh() {
  if (window_) LayOutAndPaint(*window_);
}

// A layout change waits for the event loop; each widget's own layout is applied here instead, the
// outer ones first so the inner ones get their final size.
void WindowProgressSink::LayOutAndPaint(QWidget& window) {
  if (QLayout* layout = window.layout()) layout->activate();
  for (QWidget* child : window.findChildren<QWidget*>()) {
    if (QLayout* layout = child->layout(); layout != nullptr && child->isVisible()) layout->activate();
  }
  window.repaint();
}

}  // namespace quendrel

// The window a progress channel belongs to: when controls of its alternate set appear or vanish, the
// window lays itself out anew and paints at once, for as long as it lives.
#pragma once

#include <QPointer>
#include <QWidget>

#include "foundation/ProgressClientSink.h"

namespace quendrel {

class WindowProgressSink : public ProgressClientSink {
 public:
  explicit WindowProgressSink(QWidget* window) : window_(window) {}

  // Without the message pump: the operation that changed the layout holds the window meanwhile.
  void Refresh() override;
  // The same for any window.
  static void LayOutAndPaint(QWidget& window);

 private:
  QPointer<QWidget> window_;
};

}  // namespace quendrel

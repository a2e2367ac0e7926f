// Repaints a whole window for a progress channel whose controls appeared or vanished, for as long as
// the window lives.
#pragma once

#include <QPointer>
#include <QWidget>

#include "foundation/ProgressClientSink.h"

namespace quendrel {

class ClientProgressSink : public ProgressClientSink {
 public:
  explicit ClientProgressSink(QWidget* window) : window_(window) {}

  void Refresh() override {
    if (window_) window_->repaint();
  }

 private:
  QPointer<QWidget> window_;
};

}  // namespace quendrel

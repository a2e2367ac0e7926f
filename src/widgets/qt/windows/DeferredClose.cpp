#include "widgets/qt/windows/DeferredClose.h"

#include <QMdiSubWindow>
#include <QTimer>
#include <utility>

namespace quendrel {

DeferredClose::DeferredClose(QWidget* window) : QObject(window), window_(window) {}

void DeferredClose::WatchTopLevel() {
  QWidget* top = window_->window();
  if (top == window_ || top == topLevel_) return;
  if (!topLevel_.isNull()) topLevel_->removeEventFilter(this);
  topLevel_ = top;
  topLevel_->installEventFilter(this);
}

bool DeferredClose::eventFilter(QObject* watched, QEvent* event) {
  if (watched == topLevel_ && event->type() == QEvent::Close && !topLevelClosing_) {
    // The top-level asks its children while it handles this event, before the next turn of the loop.
    topLevelClosing_ = true;
    QTimer::singleShot(0, this, [this] { topLevelClosing_ = false; });
  }
  return QObject::eventFilter(watched, event);
}

void DeferredClose::Defer() {
  pending_ = true;
  closeWindow_ = closeWindow_ || !topLevelClosing_;
  resumeTopLevel_ = resumeTopLevel_ || topLevelClosing_;
}

void DeferredClose::Complete() {
  if (!pending_) return;
  pending_ = false;
  if (std::exchange(closeWindow_, false)) {
    QWidget* frame = qobject_cast<QMdiSubWindow*>(window_->parentWidget());
    (frame != nullptr ? frame : window_)->close();
  }
  // The exit asks every window again, this one included: closing it here first would lose it to an
  // exit the user then cancels.
  if (!resumeTopLevel_ || topLevel_.isNull()) return;
  resumeTopLevel_ = false;
  // Queued, so the handler that ran the transfer is off the stack before the exit goes on.
  QWidget* top = topLevel_;
  QMetaObject::invokeMethod(top, [top] { top->close(); }, Qt::QueuedConnection);
}

}  // namespace quendrel

#include "platform/qt/FramePacer.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "platform/Clock.h"
#include "platform/ScreenFrame.h"

namespace quendrel {

FramePacer::FramePacer(QWidget* widget) : QObject(widget), widget_(widget), frameEnd_(this) {
  frameEnd_.setObjectName(QStringLiteral("frameEnd"));
  frameEnd_.setSingleShot(true);
  frameEnd_.setTimerType(Qt::PreciseTimer);
  connect(&frameEnd_, &QTimer::timeout, widget_, [this] { widget_->update(); });
  widget_->installEventFilter(this);
}

void FramePacer::RequestRepaint() {
  // A hidden widget is painted in full when it is shown.
  if (!widget_->isVisible() || frameEnd_.isActive()) return;
  const double sincePaint = CurrentClock().MonotonicSeconds() - lastPaint_;
  if (!painted_ || sincePaint >= kFrameSeconds) {
    widget_->update();
    return;
  }
  // A clock set back since the paint waits one whole frame.
  const double left = std::clamp(kFrameSeconds - sincePaint, 0.0, kFrameSeconds);
  frameEnd_.start(static_cast<int>(std::lround(left * 1000.0)));
}

bool FramePacer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget_ && event->type() == QEvent::Paint) {
    painted_ = true;
    lastPaint_ = CurrentClock().MonotonicSeconds();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace quendrel

#include "widgets/qt/PacedIndicatorSink.h"

#include <QEvent>

#include "foundation/ProgressServer.h"
#include "platform/Clock.h"

namespace quendrel {

PacedIndicatorSink::PacedIndicatorSink(QLabel* label, const Clock* clock) : IndicatorProgressSink(label), clock_(clock) {
  if (control_) control_->installEventFilter(this);
}

double PacedIndicatorSink::Now() const { return (clock_ != nullptr ? *clock_ : CurrentClock()).MonotonicSeconds(); }

void PacedIndicatorSink::SetBackColor(std::uint32_t colour) {
  colour_ = colour;
  IndicatorProgressSink::SetBackColor(colour);
}

void PacedIndicatorSink::Refresh() {
  if (!control_) return;
  const bool recent = painted_ && Now() - lastPaint_ < FrameSeconds;
  if (colour_ == ProgressServer::IndicatorGreen && !recent) {
    control_->repaint();
  } else {
    control_->update();
  }
}

// Every paint counts, also the ones the message loop does for a mark.
bool PacedIndicatorSink::eventFilter(QObject* watched, QEvent* event) {
  if (watched == control_ && event->type() == QEvent::Paint) {
    painted_ = true;
    lastPaint_ = Now();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace quendrel

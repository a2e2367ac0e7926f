#include "widgets/qt/progress/PacedIndicatorSink.h"

#include <QEvent>
#include <QPainter>

#include "foundation/progress/ProgressServer.h"
#include "platform/Clock.h"
#include "platform/ScreenFrame.h"
#include "platform/qt/QtConvert.h"

namespace quendrel {

PacedIndicatorSink::PacedIndicatorSink(QLabel* label, const Clock* clock)
    : IndicatorProgressSink(label), clock_(clock), colour_(ProgressServer::IndicatorRed) {
  if (!control_) return;
  control_->setAutoFillBackground(false);
  control_->installEventFilter(this);
}

double PacedIndicatorSink::Now() const { return (clock_ != nullptr ? *clock_ : CurrentClock()).MonotonicSeconds(); }

bool PacedIndicatorSink::PaintedWithinFrame() const { return painted_ && Now() - lastPaint_ < kFrameSeconds; }

void PacedIndicatorSink::SetBackColor(std::uint32_t colour) { colour_ = colour; }

void PacedIndicatorSink::Refresh() {
  if (!control_) return;
  // The clock is asked for a green only: a red never paints at once.
  if (colour_ == ProgressServer::IndicatorGreen && !PaintedWithinFrame()) {
    control_->repaint();
  } else if (!marked_) {
    // One mark until the next paint: asking again costs as much as a round trip on a fast link.
    marked_ = true;
    control_->update();
  }
}

// Every paint counts, also the ones the message loop does for a mark. The label draws its frame over
// the colour. The type is tested first: the label's last events arrive while it is being destroyed,
// when it is no longer a QLabel and the guarded pointer must not be read.
bool PacedIndicatorSink::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched == control_) {
    painted_ = true;
    marked_ = false;
    lastPaint_ = Now();
    QPainter painter(control_);
    painter.fillRect(control_->rect(), ToQColor(colour_));
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace quendrel

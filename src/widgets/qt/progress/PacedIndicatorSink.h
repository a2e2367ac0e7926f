// The on-the-wire indicator of a window that may send thousands of requests a second: turning green
// repaints the label at once unless it was painted less than a frame ago, so a slow request is seen
// green while a fast link costs one repaint a frame at most. Turning red only marks the label for the
// next paint: painted at once, it would leave the green of the request that follows it unpainted.
// The colour is painted under the label's frame rather than set in its palette, whose every change
// costs more than a round trip to the drive.
#pragma once

#include <QObject>

#include "widgets/qt/progress/IndicatorProgressSink.h"

namespace quendrel {

class Clock;

class PacedIndicatorSink : public QObject, public IndicatorProgressSink {
 public:
  // clock null: the program's current clock.
  explicit PacedIndicatorSink(QLabel* label, const Clock* clock = nullptr);

  void SetBackColor(std::uint32_t colour) override;
  void Refresh() override;
  // 0x00BBGGRR, as the next paint shows it.
  std::uint32_t Colour() const { return colour_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  double Now() const;
  bool PaintedWithinFrame() const;

  const Clock* clock_;
  std::uint32_t colour_;
  bool painted_ = false;
  bool marked_ = false;
  double lastPaint_ = 0.0;
};

}  // namespace quendrel

// Paces the scheduled repaints of a widget that may be refreshed thousands of times a second to one a
// frame: a request a frame or more after the last paint schedules a repaint at once, a sooner one
// schedules it for the frame's end, so the widget always comes to show its last state.
#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

namespace quendrel {

class FramePacer : public QObject {
 public:
  // The pacer is the widget's child and counts every paint of it, the message loop's own too, by the
  // program's current clock.
  explicit FramePacer(QWidget* widget);

  // Schedules a repaint, never paints; requests before it is due fold into one. While a repaint
  // waits for the frame's end, the pacer's single-shot timer named "frameEnd" runs.
  void RequestRepaint();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* widget_;
  QTimer frameEnd_;
  bool painted_ = false;
  double lastPaint_ = 0.0;
};

}  // namespace quendrel

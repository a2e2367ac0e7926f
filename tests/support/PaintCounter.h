// Counts the paints the message loop gives a widget, for the tests and benchmarks that check how
// often a window is drawn.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace quendrel {

class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) : widget_(widget) { widget.installEventFilter(this); }
  int Paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &widget_ && event->type() == QEvent::Paint) ++Paints;
    return false;
  }

 private:
  QWidget& widget_;
};

}  // namespace quendrel

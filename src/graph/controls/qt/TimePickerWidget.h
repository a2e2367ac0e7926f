// The time picker on the screen: draws the core's field through the canvas (never a native line
// edit, so no typed character can reach the text) beside an up-down pair of its own, and passes
// the focus, the keys and the mouse on to the core.
#pragma once

#include <QImage>
#include <QToolButton>
#include <QWidget>

#include "graph/controls/TimePicker.h"
#include "platform/qt/PainterCanvas.h"

namespace quendrel {

class TimePickerWidget : public QWidget {
 public:
  // The up-down pair's width, as wide as the desktop's spin controls.
  static constexpr int kSpinWidth = 17;

  // The core outlives the widget; the widget installs the core's refresh, layout and focus hooks.
  TimePickerWidget(TimePicker& picker, QWidget* parent = nullptr);
  ~TimePickerWidget() override;
  TimePickerWidget(const TimePickerWidget&) = delete;
  TimePickerWidget& operator=(const TimePickerWidget&) = delete;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void ApplyLayout();
  void FollowCore();
  int FrameWidth() const;
  // The core's key code: keypad digits keep codes of their own, which type nothing.
  static int KeyCodeOf(const QKeyEvent& event);
  ControlEventArgs MouseOf(const QMouseEvent& event) const;
  QToolButton* MakeSpinButton(Qt::ArrowType arrow);

  TimePicker& picker_;
  QImage field_;
  PainterCanvas canvas_;
  QToolButton* up_;
  QToolButton* down_;
  bool doubleClicked_ = false;
};

}  // namespace quendrel

// The colour pick box on the screen: draws the core's swatch inside its frame and passes the
// focus, the keys and the mouse on to the core.
#pragma once

#include <QImage>
#include <QWidget>

#include "graph/controls/ColorPickBox.h"
#include "platform/qt/PainterCanvas.h"

namespace quendrel {

class ColorPickBoxWidget : public QWidget {
 public:
  // The core outlives the widget; the widget installs the core's refresh hook.
  ColorPickBoxWidget(ColorPickBox& box, QWidget* parent = nullptr);
  ~ColorPickBoxWidget() override;
  ColorPickBoxWidget(const ColorPickBoxWidget&) = delete;
  ColorPickBoxWidget& operator=(const ColorPickBoxWidget&) = delete;

  QSize sizeHint() const override { return {33, 21}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  int FrameWidth() const;
  ControlEventArgs MouseOf(const QMouseEvent& event) const;

  ColorPickBox& box_;
  QImage swatch_;
  PainterCanvas canvas_;
  bool doubleClicked_ = false;
};

}  // namespace quendrel

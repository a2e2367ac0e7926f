// A widget that keeps what is drawn on its canvas, so core drawing code can paint at any time
// (from a timer, a click, a long operation) and the widget shows it on its next repaint.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/qt/PainterCanvas.h"

namespace quendrel {

class PictureBox : public QWidget {
 public:
  explicit PictureBox(QWidget* parent = nullptr);

  Canvas& GetCanvas() { return canvas_; }
  const QImage& Picture() const { return image_; }

  // Draws the whole picture anew; runs on every resize and on Refresh.
  void SetPaintHandler(std::function<void(Canvas&)> handler) { paintHandler_ = std::move(handler); }
  // Redraws through the paint handler and shows the result at once.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage image_;
  PainterCanvas canvas_;
  std::function<void(Canvas&)> paintHandler_;
};

}  // namespace quendrel

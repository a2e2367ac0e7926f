#include "platform/qt/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"

namespace quendrel {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent), image_(1, 1, QImage::Format_RGB32), canvas_(image_) {
  // The whole widget comes from the image: Qt need not clear it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  canvas_.OnChanged([this] { update(); });
}

void PictureBox::Refresh() {
  if (paintHandler_) GuardSlot([this] { paintHandler_(canvas_); });
  repaint();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

void PictureBox::resizeEvent(QResizeEvent* event) {
  const QSize size = event->size().expandedTo(QSize(1, 1));
  // What was drawn stays where it was; new area shows BackColor until the next drawing.
  QImage resized(size, QImage::Format_RGB32);
  resized.fill(ToQColor(canvas_.BackColor()));
  {
    QPainter painter(&resized);
    painter.drawImage(QPoint(0, 0), image_);
  }
  image_ = std::move(resized);
  if (paintHandler_) GuardSlot([this] { paintHandler_(canvas_); });
  QWidget::resizeEvent(event);
}

}  // namespace quendrel

#include "graph/controls/qt/ColorPickBoxWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "graph/controls/qt/ControlFrame.h"
#include "graph/controls/qt/ControlMouse.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtInput.h"

namespace quendrel {

ColorPickBoxWidget::ColorPickBoxWidget(ColorPickBox& box, QWidget* parent)
    : QWidget(parent), box_(box), swatch_(1, 1, QImage::Format_RGB32), canvas_(swatch_) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  box_.OnRefresh([this] { update(); });
}

ColorPickBoxWidget::~ColorPickBoxWidget() { box_.OnRefresh(nullptr); }

int ColorPickBoxWidget::FrameWidth() const {
  return ControlFrameWidth(box_.BorderStyle(), box_.Appearance());
}

void ColorPickBoxWidget::paintEvent(QPaintEvent*) {
  const int frame = FrameWidth();
  const QSize inner = size().shrunkBy(QMargins(frame, frame, frame, frame)).expandedTo(QSize(1, 1));
  if (swatch_.size() != inner) swatch_ = QImage(inner, QImage::Format_RGB32);
  GuardSlot([this] { box_.Paint(canvas_); });
  QPainter painter(this);
  painter.drawImage(frame, frame, swatch_);
  DrawControlFrame(painter, rect(), box_.BorderStyle(), box_.Appearance());
}

void ColorPickBoxWidget::focusInEvent(QFocusEvent* event) {
  GuardSlot([this] { box_.GotFocus(); });
  QWidget::focusInEvent(event);
}

void ColorPickBoxWidget::focusOutEvent(QFocusEvent* event) {
  GuardSlot([this] { box_.LostFocus(); });
  QWidget::focusOutEvent(event);
}

void ColorPickBoxWidget::keyPressEvent(QKeyEvent* event) {
  // Tab and Backtab move the focus as in every other control.
  if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int shift = ShiftStateFromQt(event->modifiers());
  GuardSlot([&] {
    box_.KeyDown(KeyCodeFromQt(event->key()), shift);
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).unicode() <= 0xFF) box_.KeyPress(text.at(0).unicode());
  });
  event->accept();
}

void ColorPickBoxWidget::keyReleaseEvent(QKeyEvent* event) {
  const int shift = ShiftStateFromQt(event->modifiers());
  GuardSlot([&] { box_.KeyUp(KeyCodeFromQt(event->key()), shift); });
  event->accept();
}

ControlEventArgs ColorPickBoxWidget::MouseOf(const QMouseEvent& event) const {
  return ControlMouseFromQt(event, FrameWidth());
}

void ColorPickBoxWidget::mousePressEvent(QMouseEvent* event) {
  doubleClicked_ = false;
  GuardSlot([&] { box_.MouseDown(MouseOf(*event)); });
}

void ColorPickBoxWidget::mouseMoveEvent(QMouseEvent* event) {
  GuardSlot([&] { box_.MouseMove(MouseOf(*event)); });
}

void ColorPickBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
  GuardSlot([&] {
    box_.MouseUp(MouseOf(*event));
    // The release that ends a double click is no click of its own.
    if (!doubleClicked_ && rect().contains(event->position().toPoint())) box_.Click();
  });
  doubleClicked_ = false;
}

void ColorPickBoxWidget::mouseDoubleClickEvent(QMouseEvent*) {
  doubleClicked_ = true;
  GuardSlot([this] { box_.DblClick(); });
}

}  // namespace quendrel

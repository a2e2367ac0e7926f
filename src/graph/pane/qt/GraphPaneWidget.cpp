#include "graph/pane/qt/GraphPaneWidget.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/qt/FramePacer.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtInput.h"

namespace quendrel {
namespace {

// The files take one byte for it; a locale whose separator is no single Latin-1 character gets ".".
char DecimalSeparator(const QLocale& locale) {
  const QString separator = locale.decimalPoint();
  if (separator.size() != 1 || separator.at(0).unicode() > 0xFF) return '.';
  return static_cast<char>(separator.at(0).unicode());
}

}  // namespace

GraphPaneWidget::GraphPaneWidget(GraphPane& pane, QWidget* parent)
    : QWidget(parent), pane_(pane), image_(1, 1, QImage::Format_RGB32), canvas_(image_),
      pacer_(new FramePacer(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // A continuous scan refreshes after every sweep, hundreds of times a second on a fast link: painted
  // each time, the pane would set the pace of the sweeps instead of the drive.
  pane_.OnRefresh([this] {
    outOfDate_ = true;
    pacer_->RequestRepaint();
  });
  pane_.OnSnapshot([this] { return FromQImage(Picture(), "graph"); });
  pane_.OnDecimalSeparator([] { return DecimalSeparator(QLocale()); });
  pane_.OnScreenPoint([this](float x, float y) {
    const QPoint at = mapToGlobal(QPoint(Canvas::ToPixel(x), Canvas::ToPixel(y)));
    return ScreenPoint{at.x(), at.y()};
  });
}

GraphPaneWidget::~GraphPaneWidget() {
  pane_.OnRefresh(nullptr);
  pane_.OnSnapshot(nullptr);
  pane_.OnDecimalSeparator(nullptr);
  pane_.OnScreenPoint(nullptr);
}

const QImage& GraphPaneWidget::Picture() {
  BringUpToDate();
  return image_;
}

void GraphPaneWidget::BringUpToDate() {
  // A widget never shown gets no resize event, yet its picture may be saved.
  const QSize wanted = size().expandedTo(QSize(1, 1));
  if (image_.size() != wanted && !pane_.PaintLock()) {
    image_ = QImage(wanted, QImage::Format_RGB32);
    outOfDate_ = true;
  }
  if (!outOfDate_ || pane_.PaintLock()) return;
  outOfDate_ = false;
  GuardSlot([this] { pane_.DrawGraph(canvas_); });
}

void GraphPaneWidget::paintEvent(QPaintEvent* event) {
  BringUpToDate();
  QPainter painter(this);
  painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

void GraphPaneWidget::resizeEvent(QResizeEvent* event) {
  outOfDate_ = true;
  QWidget::resizeEvent(event);
}

GraphPaneMouse GraphPaneWidget::MouseOf(const QMouseEvent& event) const {
  const QPointF at = event.position();
  return {ButtonsFromQt(event.button() == Qt::NoButton ? event.buttons() : Qt::MouseButtons(event.button())),
          ShiftStateFromQt(event.modifiers()), Canvas::PixelsToTwipsX(static_cast<float>(at.x())),
          Canvas::PixelsToTwipsY(static_cast<float>(at.y()))};
}

void GraphPaneWidget::mousePressEvent(QMouseEvent* event) {
  GuardSlot([&] { pane_.MouseDown(MouseOf(*event)); });
}

void GraphPaneWidget::mouseMoveEvent(QMouseEvent* event) {
  GuardSlot([&] { pane_.MouseMove(MouseOf(*event)); });
}

void GraphPaneWidget::mouseReleaseEvent(QMouseEvent* event) {
  GuardSlot([&] {
    const GraphPaneMouse mouse = MouseOf(*event);
    pane_.MouseUp(mouse);
    if (rect().contains(event->position().toPoint())) pane_.Click();
  });
}

void GraphPaneWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  GuardSlot([&] { pane_.DblClick(); });
  QWidget::mouseDoubleClickEvent(event);
}

}  // namespace quendrel

#include "tree/qt/TreeCanvasWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtInput.h"
#include "tree/ParameterTree.h"
#include "tree/qt/TreeImageCanvas.h"

namespace quendrel {
namespace {

constexpr float kTwipsPerPixel = 15.0f;

}  // namespace

TreeCanvasWidget::TreeCanvasWidget(std::shared_ptr<ParameterTree> tree, QWidget* parent)
    : QWidget(parent), tree_(std::move(tree)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TreeCanvasWidget::paintEvent(QPaintEvent* event) {
  (void)event;
  const auto* canvas = dynamic_cast<const TreeImageCanvas*>(&tree_->CanvasRef());
  if (canvas == nullptr) return;
  QPainter painter(this);
  painter.drawImage(0, 0, canvas->Picture());
  if (isEnabled()) return;
  // Washed out towards the window colour, as the desktop shows a control that takes no input.
  painter.setOpacity(0.5);
  painter.fillRect(rect(), palette().color(QPalette::Disabled, QPalette::Window));
}

void TreeCanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
  const auto tree = tree_;  // the widget may be gone when the host's handlers return
  GuardSlot([&] {
    tree->CanvasMouseUp(ButtonsFromQt(event->button()), ShiftStateFromQt(event->modifiers()),
                        static_cast<float>(event->position().x()) * kTwipsPerPixel,
                        static_cast<float>(event->position().y()) * kTwipsPerPixel);
  });
}

void TreeCanvasWidget::mouseMoveEvent(QMouseEvent* event) {
  const auto tree = tree_;
  GuardSlot([&] {
    tree->CanvasMouseMove(ButtonsFromQt(event->buttons()), ShiftStateFromQt(event->modifiers()),
                          static_cast<float>(event->position().x()) * kTwipsPerPixel,
                          static_cast<float>(event->position().y()) * kTwipsPerPixel);
  });
}

void TreeCanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  (void)event;
  const auto tree = tree_;
  GuardSlot([&] { tree->CanvasDblClick(); });
}

void TreeCanvasWidget::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) pressed_.insert(event->key());
  event->accept();
}

void TreeCanvasWidget::keyReleaseEvent(QKeyEvent* event) {
  // Keys act on release, once however long they are held.
  if (event->isAutoRepeat() || pressed_.erase(event->key()) == 0) return;
  const int keyCode = KeyCodeFromQt(event->key());
  if (keyCode == 0) return;
  const auto tree = tree_;
  GuardSlot([&] { tree->CanvasKeyUp(keyCode, ShiftStateFromQt(event->modifiers())); });
}

}  // namespace quendrel

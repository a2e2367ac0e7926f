#include "tree/qt/TreeCanvasWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/GuardSlot.h"
#include "tree/ParameterTree.h"
#include "tree/qt/TreeImageCanvas.h"

namespace quendrel {
namespace {

constexpr float kTwipsPerPixel = 15.0f;

}  // namespace

int TreeKeyCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: break;
  }
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
  return 0;
}

int TreeShiftState(Qt::KeyboardModifiers modifiers) {
  int shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= vbShiftMask;
  if (modifiers & Qt::ControlModifier) shift |= vbCtrlMask;
  if (modifiers & Qt::AltModifier) shift |= vbAltMask;
  return shift;
}

int TreeButtons(Qt::MouseButtons buttons) {
  int result = 0;
  if (buttons & Qt::LeftButton) result |= 1;
  if (buttons & Qt::RightButton) result |= 2;
  if (buttons & Qt::MiddleButton) result |= 4;
  return result;
}

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
    tree->CanvasMouseUp(TreeButtons(event->button()), TreeShiftState(event->modifiers()),
                        static_cast<float>(event->position().x()) * kTwipsPerPixel,
                        static_cast<float>(event->position().y()) * kTwipsPerPixel);
  });
}

void TreeCanvasWidget::mouseMoveEvent(QMouseEvent* event) {
  const auto tree = tree_;
  GuardSlot([&] {
    tree->CanvasMouseMove(TreeButtons(event->buttons()), TreeShiftState(event->modifiers()),
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
  const int keyCode = TreeKeyCode(event->key());
  if (keyCode == 0) return;
  const auto tree = tree_;
  GuardSlot([&] { tree->CanvasKeyUp(keyCode, TreeShiftState(event->modifiers())); });
}

}  // namespace quendrel

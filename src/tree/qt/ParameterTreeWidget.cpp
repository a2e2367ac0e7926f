#include "tree/qt/ParameterTreeWidget.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWheelEvent>
#include <cmath>

#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtInput.h"
#include "tree/qt/TreeCanvasWidget.h"
#include "tree/qt/TreeDesktopColors.h"
#include "tree/qt/TreeImageCanvas.h"

namespace quendrel {
namespace {

int Px(float twips) { return static_cast<int>(std::lround(twips / 15.0f)); }

QRect PixelRect(const TreeRect& place) {
  return QRect(Px(place.Left), Px(place.Top), Px(place.Width), Px(place.Height));
}

void ApplyBar(QScrollBar& bar, const TreeScrollBar& state) {
  bar.setGeometry(PixelRect(state.Place));
  bar.setVisible(state.Visible);
  bar.setEnabled(state.Enabled);
  if (!state.Enabled) return;
  bar.setRange(state.Min, state.Max);
  bar.setSingleStep(state.SmallChange);
  bar.setPageStep(state.LargeChange);
  bar.setValue(state.Value);
}

}  // namespace

ParameterTreeWidget::ParameterTreeWidget(QWidget* parent)
    : QWidget(parent),
      tree_(std::make_shared<ParameterTree>(
          [](int width, int height) { return std::make_unique<TreeImageCanvas>(width, height); })) {
  ApplyDesktopColors(palette());
  canvas_ = new TreeCanvasWidget(tree_, this);
  vscrollbar_ = new QScrollBar(Qt::Vertical, this);
  hScrollbar_ = new QScrollBar(Qt::Horizontal, this);
  // Horizontal dragging shows only when the bar is let go.
  hScrollbar_->setTracking(false);
  FrameCoverUp_ = new QFrame(this);
  FrameCoverUp_->setAutoFillBackground(true);
  tbEditBox_ = new QLineEdit(this);
  tbEditBox_->hide();
  cbSelectBox_ = new QComboBox(this);
  cbSelectBox_->hide();
  tbEditBox_->installEventFilter(this);
  cbSelectBox_->installEventFilter(this);
  ConnectControls();
  tree_->SetView(this);
  resize(ParameterTree::DefaultWidth / 15, ParameterTree::DefaultHeight / 15);
  tree_->InitProperties();
}

ParameterTreeWidget::~ParameterTreeWidget() {
  // The child widgets go after this object has stopped being a tree widget; their signals
  // (focus moving as they go, bars resetting) must not reach it. A host handler still
  // running on the core finds no view to call back.
  for (const QMetaObject::Connection& connection : connections_) disconnect(connection);
  tbEditBox_->removeEventFilter(this);
  cbSelectBox_->removeEventFilter(this);
  tree_->SetView(nullptr);
}

void ParameterTreeWidget::ConnectControls() {
  // Each handler may run a host's event handler, whose errors must not reach Qt.
  const auto fromControl = [this](auto action) {
    return [this, action](auto value) {
      if (syncing_) return;
      const auto tree = tree_;
      GuardSlot([&] { action(*tree, value); });
    };
  };
  connections_.push_back(connect(vscrollbar_, &QScrollBar::valueChanged, this,
                                 fromControl([](ParameterTree& tree, int value) { tree.VScrollBarChanged(value); })));
  connections_.push_back(connect(hScrollbar_, &QScrollBar::valueChanged, this,
                                 fromControl([](ParameterTree& tree, int value) { tree.HScrollBarChanged(value); })));
  connections_.push_back(connect(tbEditBox_, &QLineEdit::textChanged, this,
                                 fromControl([](ParameterTree& tree, const QString& text) {
                                   tree.EditTextChanged(FromQString(text));
                                 })));
  connections_.push_back(connect(cbSelectBox_, &QComboBox::currentIndexChanged, this,
                                 fromControl([](ParameterTree& tree, int index) { tree.EditListChanged(index); })));
  connections_.push_back(connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) {
    GuardSlot([&] { FocusMoved(from, to); });
  }));
}

QWidget* ParameterTreeWidget::CanvasWidget() const { return canvas_; }

bool ParameterTreeWidget::Contains(const QWidget* widget) const {
  return widget != nullptr && (widget == this || isAncestorOf(widget));
}

void ParameterTreeWidget::FocusMoved(QWidget* from, QWidget* to) {
  const bool wasInside = Contains(from);
  const bool isInside = Contains(to) || (to != nullptr && cbSelectBox_->view()->isAncestorOf(to));
  if (!wasInside && isInside) tree_->ControlGotFocus();
  if (wasInside && !isInside && to != nullptr) tree_->ControlLostFocus();
}

void ParameterTreeWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  GuardSlot([this] { tree_->Resize(width() * 15, height() * 15); });
}

void ParameterTreeWidget::wheelEvent(QWheelEvent* event) {
  if (!vscrollbar_->isEnabled()) return;
  const int notches = event->angleDelta().y() / 120;
  vscrollbar_->setValue(vscrollbar_->value() - notches * 3 * vscrollbar_->singleStep());
  event->accept();
}

void ParameterTreeWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::PaletteChange) return;
  ApplyDesktopColors(palette());
  GuardSlot([this] { tree_->RepaintAll(); });
}

void ParameterTreeWidget::ControlsChanged() {
  syncing_ = true;
  // Qt then keeps every mouse and key event away from the canvas, the bars and the editors,
  // and draws them all disabled.
  setEnabled(tree_->Enabled());
  canvas_->setGeometry(PixelRect(tree_->CanvasPlace()));
  ApplyBar(*vscrollbar_, tree_->VerticalBar());
  ApplyBar(*hScrollbar_, tree_->HorizontalBar());
  FrameCoverUp_->setGeometry(PixelRect(tree_->CornerPlace()));
  FrameCoverUp_->setVisible(tree_->CornerVisible());
  syncing_ = false;
}

void ParameterTreeWidget::EditorsChanged() {
  const TreeEditorState& editor = tree_->Editor();
  syncing_ = true;
  if (FromQString(tbEditBox_->text()) != editor.Text) tbEditBox_->setText(ToQString(editor.Text));
  tbEditBox_->setGeometry(PixelRect(editor.TextPlace));
  QStringList items;
  for (const std::string& item : editor.Items) items.push_back(ToQString(item));
  QStringList shown;
  for (int i = 0; i < cbSelectBox_->count(); ++i) shown.push_back(cbSelectBox_->itemText(i));
  if (shown != items) {
    cbSelectBox_->clear();
    for (int i = 0; i < items.size(); ++i) cbSelectBox_->addItem(items[i], i);
  }
  cbSelectBox_->setCurrentIndex(editor.ListIndex);
  const QRect listPlace = PixelRect(editor.ListPlace);
  cbSelectBox_->setGeometry(listPlace.x(), listPlace.y(), listPlace.width(), cbSelectBox_->sizeHint().height());
  syncing_ = false;
  // Hiding a focused editor moves the focus, which the core may answer by committing; it
  // finds the editors already closed.
  const QPointer<ParameterTreeWidget> alive(this);
  tbEditBox_->setVisible(editor.TextShown);
  if (!alive) return;
  cbSelectBox_->setVisible(editor.ListShown);
}

void ParameterTreeWidget::CanvasDrawn() { canvas_->update(); }

void ParameterTreeWidget::FocusCanvas() { canvas_->setFocus(Qt::OtherFocusReason); }

void ParameterTreeWidget::FocusTextEditor() {
  tbEditBox_->setFocus(Qt::OtherFocusReason);
  tbEditBox_->selectAll();
}

void ParameterTreeWidget::FocusListEditor() { cbSelectBox_->setFocus(Qt::OtherFocusReason); }

void ParameterTreeWidget::MovePointer(float x, float y) {
  if (!isVisible()) return;
  QCursor::setPos(mapToGlobal(QPoint(Px(x), Px(y))));
}

bool ParameterTreeWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tbEditBox_ || watched == cbSelectBox_) {
    bool consumed = false;
    GuardSlot([&] { consumed = EditorEvent(static_cast<QWidget*>(watched), event); });
    return consumed;
  }
  return QWidget::eventFilter(watched, event);
}

bool ParameterTreeWidget::EditorEvent(QWidget* editor, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (!key->isAutoRepeat()) editorKeyDown_ = key->key();
      return false;
    }
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      // Only a key pressed here counts: an Escape that closed the list's popup was pressed
      // in the popup.
      if (key->isAutoRepeat() || key->key() != editorKeyDown_) return false;
      editorKeyDown_ = 0;
      const int keyCode = KeyCodeFromQt(key->key());
      const auto tree = tree_;
      if (keyCode != 0) tree->EditorKeyUp(keyCode);
      return false;
    }
    case QEvent::FocusOut: {
      const auto* focus = static_cast<QFocusEvent*>(event);
      // The list's own popup taking the focus, or another window becoming active, is no
      // leaving of the editor.
      if (focus->reason() == Qt::PopupFocusReason || focus->reason() == Qt::ActiveWindowFocusReason) {
        return false;
      }
      if (editor == cbSelectBox_ && cbSelectBox_->view()->isVisible()) return false;
      const auto tree = tree_;
      tree->EditorLostFocus();
      return false;
    }
    case QEvent::MouseButtonPress:
      tree_->EditorClicked();
      return false;
    default:
      return false;
  }
}

}  // namespace quendrel

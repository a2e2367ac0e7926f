// The parameter tree on screen: owns the tree's core, its canvas, scroll bars, corner frame
// and the two in-place editors, and turns Qt's events into calls on the core.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>
#include <memory>
#include <vector>

#include "tree/ParameterTree.h"
#include "tree/ParameterTreeView.h"

namespace quendrel {

class TreeCanvasWidget;

class ParameterTreeWidget : public QWidget, private ParameterTreeView {
 public:
  explicit ParameterTreeWidget(QWidget* parent = nullptr);
  ~ParameterTreeWidget() override;

  ParameterTree& Tree() const { return *tree_; }

  QWidget* CanvasWidget() const;
  QLineEdit* EditBox() const { return tbEditBox_; }
  QComboBox* SelectBox() const { return cbSelectBox_; }
  QScrollBar* VerticalScrollBar() const { return vscrollbar_; }
  QScrollBar* HorizontalScrollBar() const { return hScrollbar_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ControlsChanged() override;
  void EditorsChanged() override;
  void CanvasDrawn() override;
  void FocusCanvas() override;
  void FocusTextEditor() override;
  void FocusListEditor() override;
  void MovePointer(float x, float y) override;

  void ConnectControls();
  void FocusMoved(QWidget* from, QWidget* to);
  bool Contains(const QWidget* widget) const;
  bool EditorEvent(QWidget* editor, QEvent* event);

  std::shared_ptr<ParameterTree> tree_;
  TreeCanvasWidget* canvas_ = nullptr;
  QScrollBar* vscrollbar_ = nullptr;
  QScrollBar* hScrollbar_ = nullptr;
  QFrame* FrameCoverUp_ = nullptr;
  QLineEdit* tbEditBox_ = nullptr;
  QComboBox* cbSelectBox_ = nullptr;
  // Set while the widgets are brought in line with the core, so their change signals do
  // not come back to it.
  bool syncing_ = false;
  int editorKeyDown_ = 0;
  std::vector<QMetaObject::Connection> connections_;
};

}  // namespace quendrel

// The surface the parameter tree draws on: shows the tree's picture and hands the mouse and
// keys to the tree's core as it expects them.
#pragma once

#include <QWidget>
#include <memory>
#include <set>

namespace quendrel {

class ParameterTree;

class TreeCanvasWidget : public QWidget {
 public:
  TreeCanvasWidget(std::shared_ptr<ParameterTree> tree, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  std::shared_ptr<ParameterTree> tree_;
  // Keys whose press the canvas saw: a release without its press belongs to someone else,
  // such as the Enter that committed an edit and moved the focus here.
  std::set<int> pressed_;
};

}  // namespace quendrel

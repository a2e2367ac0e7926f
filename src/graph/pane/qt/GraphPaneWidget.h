// The graph pane on the screen: shows the core's drawing from a kept image, repaints it once a frame
// at most however often the core refreshes, and passes the mouse on to the core.
#pragma once

#include <QImage>
#include <QWidget>

#include "graph/pane/GraphPane.h"
#include "platform/qt/PainterCanvas.h"

namespace quendrel {

class FramePacer;

class GraphPaneWidget : public QWidget {
 public:
  // The pane outlives the widget; the widget installs the pane's refresh, snapshot and screen
  // hooks.
  GraphPaneWidget(GraphPane& pane, QWidget* parent = nullptr);
  ~GraphPaneWidget() override;
  GraphPaneWidget(const GraphPaneWidget&) = delete;
  GraphPaneWidget& operator=(const GraphPaneWidget&) = delete;

  // The picture brought up to date, as saved and printed.
  const QImage& Picture();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // While the pane is locked the old picture stays, not even cleared.
  void BringUpToDate();
  GraphPaneMouse MouseOf(const QMouseEvent& event) const;

  GraphPane& pane_;
  QImage image_;
  PainterCanvas canvas_;
  FramePacer* pacer_;
  bool outOfDate_ = true;
};

}  // namespace quendrel

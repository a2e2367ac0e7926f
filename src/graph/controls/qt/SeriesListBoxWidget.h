// The series list on the screen: the canvas the core paints into, the scroll bar and the two
// in-place editors placed where the core says, and Qt's mouse, key, focus and resize events turned
// into calls on the core.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>
#include <vector>

#include "graph/controls/SeriesListBox.h"

namespace quendrel {

class PictureBox;

class SeriesListBoxWidget : public QWidget {
 public:
  // The list outlives the widget; the widget installs itself as the list's host.
  explicit SeriesListBoxWidget(SeriesListBox& list, QWidget* parent = nullptr);
  ~SeriesListBoxWidget() override;
  SeriesListBoxWidget(const SeriesListBoxWidget&) = delete;
  SeriesListBoxWidget& operator=(const SeriesListBoxWidget&) = delete;

  QWidget* CanvasWidget() const;
  QLineEdit* EditValue() const { return tbEditValue_; }
  QComboBox* EditString() const { return cbEditString_; }
  QScrollBar* ScrollBar() const { return vscrollbar_; }
  // The list's picture as painted.
  const QImage& Picture() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FollowCore();
  void FollowEditors();
  bool CanvasEvent(QEvent* event);
  bool EditorEvent(QEvent* event);
  void FocusMoved(QWidget* from, QWidget* to);
  bool Contains(const QWidget* widget) const;

  SeriesListBox& list_;
  PictureBox* canvas_ = nullptr;
  QScrollBar* vscrollbar_ = nullptr;
  QLineEdit* tbEditValue_ = nullptr;
  QComboBox* cbEditString_ = nullptr;
  // Set while the widgets are brought in line with the core, so their signals stay away from it.
  bool syncing_ = false;
  std::vector<QMetaObject::Connection> connections_;
};

}  // namespace quendrel

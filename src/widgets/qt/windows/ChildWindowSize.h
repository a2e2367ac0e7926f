// The sizes of a child window in the main window's MDI area: the smallest the user can make it, and
// the size it opens at, which shows its work (a tree or a list more than a handful of rows deep).
#pragma once

#include <QSize>

class QMdiSubWindow;
class QWidget;

namespace quendrel {

struct ChildWindowSize {
  // Share of the area's width and height a window opens at when its own wish is smaller.
  static constexpr double RoomShare = 2.0 / 3.0;

  // What dragging the frame stops at: the minimum size where one is set, else the minimum size hint.
  static QSize Smallest(const QWidget& window);
  // The window's preferred size, grown to RoomShare of room and kept within room, but never below the
  // window's smallest size.
  static QSize Opening(const QMdiSubWindow& frame, const QSize& room);
  // Gives a newly added frame its opening size in its area, moved only as far as it takes to lie
  // inside the area.
  static void Open(QMdiSubWindow& frame);
};

}  // namespace quendrel

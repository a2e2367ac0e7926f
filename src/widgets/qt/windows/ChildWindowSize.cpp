#include "widgets/qt/windows/ChildWindowSize.h"

#include <algorithm>

#include <QMdiArea>
#include <QMdiSubWindow>

namespace quendrel {

QSize ChildWindowSize::Smallest(const QWidget& window) {
  const QSize set = window.minimumSize();
  const QSize hint = window.minimumSizeHint();
  return {set.width() > 0 ? set.width() : hint.width(), set.height() > 0 ? set.height() : hint.height()};
}

QSize ChildWindowSize::Opening(const QMdiSubWindow& frame, const QSize& room) {
  const QSize smallest = Smallest(frame);
  const QSize share(static_cast<int>(room.width() * RoomShare), static_cast<int>(room.height() * RoomShare));
  return frame.sizeHint().expandedTo(share).boundedTo(room).expandedTo(smallest);
}

void ChildWindowSize::Open(QMdiSubWindow& frame) {
  QMdiArea* area = frame.mdiArea();
  if (area == nullptr) return;
  const QSize room = area->viewport()->size();
  frame.resize(Opening(frame, room));
  // The area placed the frame at the size it had then; grown, it must still lie inside the area.
  const int x = std::max(0, std::min(frame.x(), room.width() - frame.width()));
  const int y = std::max(0, std::min(frame.y(), room.height() - frame.height()));
  frame.move(x, y);
}

}  // namespace quendrel

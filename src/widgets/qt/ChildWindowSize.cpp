#include "widgets/qt/ChildWindowSize.h"

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
  frame.resize(Opening(frame, area->viewport()->size()));
}

}  // namespace quendrel

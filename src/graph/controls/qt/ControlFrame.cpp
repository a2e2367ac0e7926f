#include "graph/controls/qt/ControlFrame.h"

#include "platform/qt/QtConvert.h"

namespace quendrel {
namespace {

constexpr Color kWindowFrame = 0x80000006u;
constexpr Color kButtonShadow = 0x80000010u;
constexpr Color kButtonHighlight = 0x80000014u;
constexpr Color kDarkShadow = 0x80000015u;
constexpr Color kLight = 0x80000016u;

// One ring of the frame: its top and left edges in one colour, bottom and right in another.
void DrawRing(QPainter& painter, const QRect& rect, Color topLeft, Color bottomRight) {
  painter.setPen(ToQColor(topLeft));
  painter.drawLine(rect.left(), rect.bottom() - 1, rect.left(), rect.top());
  painter.drawLine(rect.left(), rect.top(), rect.right() - 1, rect.top());
  painter.setPen(ToQColor(bottomRight));
  painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
  painter.drawLine(rect.right(), rect.bottom(), rect.right(), rect.top());
}

}  // namespace

int ControlFrameWidth(int borderStyle, int appearance) {
  if (borderStyle == 0) return 0;
  return appearance == 1 ? 2 : 1;
}

void DrawControlFrame(QPainter& painter, const QRect& rect, int borderStyle, int appearance) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  switch (ControlFrameWidth(borderStyle, appearance)) {
    case 1: DrawRing(painter, rect, kWindowFrame, kWindowFrame); break;
    case 2:
      DrawRing(painter, rect, kButtonShadow, kButtonHighlight);
      DrawRing(painter, rect.adjusted(1, 1, -1, -1), kDarkShadow, kLight);
      break;
    default: break;
  }
  painter.restore();
}

}  // namespace quendrel

#include "graph/controls/qt/ControlMouse.h"

#include "platform/Canvas.h"
#include "platform/qt/QtInput.h"

namespace quendrel {

ControlEventArgs ControlMouseFromQt(const QMouseEvent& event, int frameWidth) {
  const QPointF at = event.position() - QPointF(frameWidth, frameWidth);
  const Qt::MouseButtons buttons =
      event.button() == Qt::NoButton ? event.buttons() : Qt::MouseButtons(event.button());
  return {.Shift = ShiftStateFromQt(event.modifiers()),
          .Button = ButtonsFromQt(buttons),
          .X = Canvas::PixelsToTwipsX(static_cast<float>(at.x())),
          .Y = Canvas::PixelsToTwipsY(static_cast<float>(at.y()))};
}

}  // namespace quendrel

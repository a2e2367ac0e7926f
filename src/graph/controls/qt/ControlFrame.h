// The frame the graph's small controls draw around themselves: none, a flat single line, or the
// sunken 3D edge of the classic desktop, in the system colours.
#pragma once

#include <QPainter>
#include <QRect>

namespace quendrel {

// Pixels the frame takes on each side: 0 without a border, 1 flat, 2 in 3D.
int ControlFrameWidth(int borderStyle, int appearance);
void DrawControlFrame(QPainter& painter, const QRect& rect, int borderStyle, int appearance);

}  // namespace quendrel

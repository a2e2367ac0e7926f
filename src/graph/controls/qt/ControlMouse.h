// The mouse arguments a graph control's core takes, read from a Qt event over a control whose
// drawing starts inside a frame.
#pragma once

#include <QMouseEvent>

#include "graph/controls/ControlEvent.h"

namespace quendrel {

// A press or release names its own button; a move names the buttons held. X and Y are in twips
// from the frame's inner corner.
ControlEventArgs ControlMouseFromQt(const QMouseEvent& event, int frameWidth);

}  // namespace quendrel

// Guards between the graph arithmetic and the canvas: a result too large or not a number is left
// out instead of failing the paint, since the canvas neither clips nor maps such coordinates.
#pragma once

#include <cmath>
#include <initializer_list>
#include <string_view>

#include "platform/Canvas.h"

namespace quendrel {

// Far beyond any pane, yet small enough that a line to it stays a bounded walk of pixels.
inline constexpr double kFarTwips = 1.0e7;

inline bool Drawable(std::initializer_list<double> coordinates) {
  for (const double c : coordinates) {
    if (!(std::fabs(c) <= kFarTwips)) return false;
  }
  return true;
}

inline void SafeLine(Canvas& canvas, double x1, double y1, double x2, double y2, Color color) {
  if (!Drawable({x1, y1, x2, y2})) return;
  canvas.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
              static_cast<float>(y2), color);
}

inline void SafeCircle(Canvas& canvas, double x, double y, double radius, Color color) {
  if (!Drawable({x, y, radius})) return;
  canvas.Circle(static_cast<float>(x), static_cast<float>(y), static_cast<float>(radius), color);
}

inline void SafeBox(Canvas& canvas, double x1, double y1, double x2, double y2, Color color) {
  if (!Drawable({x1, y1, x2, y2})) return;
  canvas.Box(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y2), color);
}

inline void SafeFilledBox(Canvas& canvas, double x1, double y1, double x2, double y2, Color color) {
  if (!Drawable({x1, y1, x2, y2})) return;
  canvas.FilledBox(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                   static_cast<float>(y2), color);
}

// Text at a position; the current position is left where the text would have put it.
inline void SafePrintAt(Canvas& canvas, double x, double y, std::string_view text) {
  if (!Drawable({x, y})) return;
  canvas.SetCurrentX(static_cast<float>(x));
  canvas.SetCurrentY(static_cast<float>(y));
  canvas.Print(text);
}

}  // namespace quendrel

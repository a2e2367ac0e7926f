// Where the line graph's canvas calls for one series go: straight onto the canvas, or kept in
// order while the series is worked out away from the canvas's thread, to be drawn there later.
// The guards of SafeCanvas apply on the way in, so a kept call is one the canvas can take.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Canvas.h"
#include "platform/PixelRules.h"

namespace quendrel {

class LineCalls {
 public:
  // Keeps the calls for DrawOn.
  LineCalls() = default;
  // Draws each call at once.
  explicit LineCalls(Canvas& canvas) : canvas_(&canvas) {}

  void Line(double x1, double y1, double x2, double y2, Color color);
  // Drawn in the canvas's fill colour and style of the moment it reaches the canvas.
  void Circle(double x, double y, double radius, Color color);
  void ColumnSpans(std::span<const PixelColumnSpan> spans, Color color);

  // The kept calls in the order they came.
  void DrawOn(Canvas& canvas) const;

 private:
  enum class Kind : std::uint8_t { Line, Circle, Spans };
  struct Call {
    Kind What;
    Color Colour;
    // A line's two points, a circle's centre and radius, or the first span and their count.
    float A;
    float B;
    float C;
    float D;
    std::uint32_t FirstSpan;
    std::uint32_t SpanCount;
  };

  Canvas* canvas_ = nullptr;
  std::vector<Call> calls_;
  std::vector<PixelColumnSpan> spans_;
};

}  // namespace quendrel

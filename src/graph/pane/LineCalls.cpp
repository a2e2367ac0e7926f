#include "graph/pane/LineCalls.h"

#include "graph/pane/SafeCanvas.h"

namespace quendrel {

void LineCalls::Line(double x1, double y1, double x2, double y2, Color color) {
  if (canvas_ != nullptr) {
    SafeLine(*canvas_, x1, y1, x2, y2, color);
    return;
  }
  if (!Drawable({x1, y1, x2, y2})) return;
  calls_.push_back({Kind::Line, color, static_cast<float>(x1), static_cast<float>(y1),
                    static_cast<float>(x2), static_cast<float>(y2), 0, 0});
}

void LineCalls::Circle(double x, double y, double radius, Color color) {
  if (canvas_ != nullptr) {
    SafeCircle(*canvas_, x, y, radius, color);
    return;
  }
  if (!Drawable({x, y, radius})) return;
  calls_.push_back({Kind::Circle, color, static_cast<float>(x), static_cast<float>(y),
                    static_cast<float>(radius), 0.0f, 0, 0});
}

void LineCalls::ColumnSpans(std::span<const PixelColumnSpan> spans, Color color) {
  if (canvas_ != nullptr) {
    canvas_->ColumnSpans(spans, color);
    return;
  }
  if (spans.empty()) return;
  calls_.push_back({Kind::Spans, color, 0.0f, 0.0f, 0.0f, 0.0f,
                    static_cast<std::uint32_t>(spans_.size()),
                    static_cast<std::uint32_t>(spans.size())});
  spans_.insert(spans_.end(), spans.begin(), spans.end());
}

void LineCalls::DrawOn(Canvas& canvas) const {
  for (const Call& call : calls_) {
    switch (call.What) {
      case Kind::Line:
        canvas.Line(call.A, call.B, call.C, call.D, call.Colour);
        break;
      case Kind::Circle:
        canvas.Circle(call.A, call.B, call.C, call.Colour);
        break;
      case Kind::Spans:
        canvas.ColumnSpans(std::span(spans_).subspan(call.FirstSpan, call.SpanCount), call.Colour);
        break;
    }
  }
}

}  // namespace quendrel

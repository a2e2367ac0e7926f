#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

namespace quendrel {

void Canvas::SetFont(const CanvasFont& font) {
  font_ = font;
  FontChanged();
}

void Canvas::SetFontName(const std::string& name) {
  font_.Name = name;
  FontChanged();
}

void Canvas::SetFontSize(float size) {
  font_.Size = size;
  FontChanged();
}

void Canvas::SetFontBold(bool bold) {
  font_.Bold = bold;
  FontChanged();
}

void Canvas::Cls() {
  DoClear(backColor_);
  currentX_ = 0.0f;
  currentY_ = 0.0f;
}

void Canvas::Line(float x1, float y1, float x2, float y2, Color color) {
  DoLine(x1, y1, x2, y2, color);
  currentX_ = x2;
  currentY_ = y2;
}

void Canvas::LineTo(float x, float y, Color color) { Line(currentX_, currentY_, x, y, color); }

void Canvas::LineBy(float dx, float dy, Color color) {
  Line(currentX_, currentY_, currentX_ + dx, currentY_ + dy, color);
}

void Canvas::Polyline(std::span<const CanvasPoint> points, Color color) {
  if (points.size() < 2) return;
  DoPolyline(points, color);
  currentX_ = points.back().X;
  currentY_ = points.back().Y;
}

void Canvas::DoPolyline(std::span<const CanvasPoint> points, Color color) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    DoLine(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y, color);
  }
}

void Canvas::Box(float x1, float y1, float x2, float y2, Color color) {
  DoBox(x1, y1, x2, y2, color, Fills(), fillColor_);
  currentX_ = x2;
  currentY_ = y2;
}

void Canvas::FilledBox(float x1, float y1, float x2, float y2, Color color) {
  DoBox(x1, y1, x2, y2, color, true, color);
  currentX_ = x2;
  currentY_ = y2;
}

void Canvas::Circle(float x, float y, float radius, Color color) {
  DoCircle(x, y, radius, color, Fills(), fillColor_);
  currentX_ = x;
  currentY_ = y;
}

std::vector<std::string_view> Canvas::SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (true) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + 1);
  }
}

void Canvas::Print(std::string_view text) {
  const float lineHeight = DoLineHeight();
  for (const std::string_view line : SplitLines(text)) {
    if (!line.empty()) DoText(currentX_, currentY_, line, foreColor_);
    currentY_ += lineHeight;
  }
  currentX_ = 0.0f;
}

float Canvas::TextWidth(std::string_view text) const {
  float widest = 0.0f;
  for (const std::string_view line : SplitLines(text)) widest = std::max(widest, DoTextWidth(line));
  return widest;
}

float Canvas::TextHeight(std::string_view text) const {
  return DoLineHeight() * static_cast<float>(SplitLines(text).size());
}

void Canvas::PaintPicture(const CanvasImage& image, float x, float y, bool transparent) {
  if (image.IsEmpty()) return;
  DoPicture(image, x, y, transparent);
}

void Canvas::PaintPicturePart(const CanvasImage& image, float x, float y, float srcX, float srcY,
                              float width, float height) {
  if (image.IsEmpty() || width <= 0.0f || height <= 0.0f) return;
  DoPicturePart(image, x, y, srcX, srcY, width, height);
}

}  // namespace quendrel

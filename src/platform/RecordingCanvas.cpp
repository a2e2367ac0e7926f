#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "platform/SystemColors.h"

namespace quendrel {
namespace {

std::string PointText(float x, float y) {
  return "(" + CanvasNumberText(x) + "," + CanvasNumberText(y) + ")";
}

std::string QuotedText(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string FillText(bool fill, Color inside) {
  return fill ? " fill " + CanvasColorText(inside) : std::string();
}

constexpr std::uint32_t kAlphaOpaque = 0x80000000u;

// 0xAARRGGBB image pixel to 0x00BBGGRR.
std::uint32_t ImageToBgr(std::uint32_t argb) {
  return ((argb & 0xFFu) << 16) | (argb & 0xFF00u) | ((argb >> 16) & 0xFFu);
}

}  // namespace

std::string CanvasNumberText(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string CanvasColorText(Color color) {
  char buffer[16];
  if ((color & SystemColorFlag) != 0) {
    std::snprintf(buffer, sizeof buffer, "0x%08X", color);
  } else {
    std::snprintf(buffer, sizeof buffer, "0x%06X", color & 0xFFFFFFu);
  }
  return buffer;
}

RecordingCanvas::RecordingCanvas(int pixelWidth, int pixelHeight)
    : width_(std::max(pixelWidth, 0)),
      height_(std::max(pixelHeight, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
              ResolveColor(BackColor())) {}

std::string RecordingCanvas::LogText() const {
  std::string text;
  for (const std::string& entry : log_) text += entry + "\n";
  return text;
}

std::uint32_t RecordingCanvas::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

CanvasImage RecordingCanvas::Snapshot() const {
  CanvasImage image;
  image.Width = width_;
  image.Height = height_;
  image.Pixels.reserve(pixels_.size());
  for (const std::uint32_t bgr : pixels_) image.Pixels.push_back(0xFF000000u | ImageToBgr(bgr));
  return image;
}

void RecordingCanvas::SetPixel(int x, int y, std::uint32_t bgr) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = bgr;
}

void RecordingCanvas::Paint(const std::vector<PixelSpan>& spans, Color color) {
  const std::uint32_t bgr = ResolveColor(color);
  for (const PixelSpan& span : spans) {
    for (int x = span.X0; x <= span.X1; ++x) SetPixel(x, span.Y, bgr);
  }
}

void RecordingCanvas::DoClear(Color color) {
  Record("Cls " + CanvasColorText(color));
  std::fill(pixels_.begin(), pixels_.end(), ResolveColor(color));
}

void RecordingCanvas::DoLine(float x1, float y1, float x2, float y2, Color color) {
  Record("Line " + PointText(x1, y1) + "-" + PointText(x2, y2) + " " + CanvasColorText(color));
  std::vector<PixelSpan> spans;
  AppendLinePixels(ToPixel(x1), ToPixel(y1), ToPixel(x2), ToPixel(y2), spans);
  Paint(spans, color);
}

void RecordingCanvas::DoPolyline(std::span<const CanvasPoint> points, Color color) {
  std::string entry = "Polyline " + CanvasColorText(color);
  std::vector<PixelSpan> spans;
  for (std::size_t i = 0; i < points.size(); ++i) {
    entry += " " + PointText(points[i].X, points[i].Y);
    if (i == 0) continue;
    AppendLinePixels(ToPixel(points[i - 1].X), ToPixel(points[i - 1].Y), ToPixel(points[i].X),
                     ToPixel(points[i].Y), spans);
  }
  Record(std::move(entry));
  Paint(spans, color);
}

void RecordingCanvas::DoColumnSpans(std::span<const PixelColumnSpan> spans, Color color) {
  std::string entry = "ColumnSpans " + CanvasColorText(color);
  const std::uint32_t bgr = ResolveColor(color);
  for (const PixelColumnSpan& span : spans) {
    entry += " " + std::to_string(span.X) + ":" + std::to_string(span.Y0) + ".." +
             std::to_string(span.Y1);
    if (span.X < 0 || span.X >= width_) continue;
    for (int y = std::max(span.Y0, 0); y <= std::min(span.Y1, height_ - 1); ++y) {
      SetPixel(span.X, y, bgr);
    }
  }
  Record(std::move(entry));
}

void RecordingCanvas::DoBox(float x1, float y1, float x2, float y2, Color outline, bool fill,
                            Color inside) {
  const bool filledBox = fill && inside == outline;
  Record((filledBox ? "FilledBox " : "Box ") + PointText(x1, y1) + "-" + PointText(x2, y2) +
         " " + CanvasColorText(outline) + (filledBox ? std::string() : FillText(fill, inside)));
  std::vector<PixelSpan> spans;
  if (fill) {
    AppendBoxInsidePixels(ToPixel(x1), ToPixel(y1), ToPixel(x2), ToPixel(y2), spans);
    Paint(spans, inside);
    spans.clear();
  }
  AppendBoxOutlinePixels(ToPixel(x1), ToPixel(y1), ToPixel(x2), ToPixel(y2), spans);
  Paint(spans, outline);
}

void RecordingCanvas::DoCircle(float x, float y, float radius, Color outline, bool fill,
                               Color inside) {
  Record("Circle " + PointText(x, y) + " r" + CanvasNumberText(radius) + " " +
         CanvasColorText(outline) + FillText(fill, inside));
  std::vector<PixelSpan> spans;
  if (fill) {
    AppendCircleInsidePixels(ToPixel(x), ToPixel(y), ToPixel(radius), spans);
    Paint(spans, inside);
    spans.clear();
  }
  AppendCircleOutlinePixels(ToPixel(x), ToPixel(y), ToPixel(radius), spans);
  Paint(spans, outline);
}

void RecordingCanvas::DoText(float x, float y, std::string_view line, Color color) {
  Record("Print " + PointText(x, y) + " " + CanvasColorText(color) + " " + QuotedText(line));
}

float RecordingCanvas::DoTextWidth(std::string_view line) const {
  return static_cast<float>(line.size()) * CharWidthPerPoint * Font().Size;
}

float RecordingCanvas::DoLineHeight() const { return LineHeightPerPoint * Font().Size; }

void RecordingCanvas::DoFocusRect(int left, int top, int right, int bottom) {
  Record("FocusRect " + std::to_string(left) + "," + std::to_string(top) + "-" +
         std::to_string(right) + "," + std::to_string(bottom));
  for (const PixelPoint& point : FocusRectPixels(left, top, right, bottom)) {
    SetPixel(point.X, point.Y, PixelAt(point.X, point.Y) ^ 0xFFFFFFu);
  }
}

void RecordingCanvas::DoPicture(const CanvasImage& image, float x, float y, bool transparent) {
  Record("Picture " + QuotedText(image.Name) + " " + std::to_string(image.Width) + "x" +
         std::to_string(image.Height) + " at " + PointText(x, y) +
         (transparent ? " transparent" : ""));
  const int left = ToPixel(x);
  const int top = ToPixel(y);
  const std::uint32_t back = ResolveColor(BackColor());
  for (int row = 0; row < image.Height; ++row) {
    for (int column = 0; column < image.Width; ++column) {
      const std::uint32_t argb = image.Pixel(column, row);
      const bool opaque = (argb & 0xFF000000u) >= kAlphaOpaque;
      if (!opaque && transparent) continue;
      SetPixel(left + column, top + row, opaque ? ImageToBgr(argb) : back);
    }
  }
}

void RecordingCanvas::DoPicturePart(const CanvasImage& image, float x, float y, float srcX,
                                    float srcY, float width, float height) {
  Record("PicturePart " + QuotedText(image.Name) + " " + PointText(srcX, srcY) + "+" +
         PointText(width, height) + " at " + PointText(x, y));
  const int left = ToPixel(x);
  const int top = ToPixel(y);
  const int sourceLeft = ToPixel(srcX);
  const int sourceTop = ToPixel(srcY);
  const std::uint32_t back = ResolveColor(BackColor());
  for (int row = 0; row < ToPixel(height); ++row) {
    for (int column = 0; column < ToPixel(width); ++column) {
      const int sx = sourceLeft + column;
      const int sy = sourceTop + row;
      if (sx < 0 || sy < 0 || sx >= image.Width || sy >= image.Height) continue;
      const std::uint32_t argb = image.Pixel(sx, sy);
      const bool opaque = (argb & 0xFF000000u) >= kAlphaOpaque;
      SetPixel(left + column, top + row, opaque ? ImageToBgr(argb) : back);
    }
  }
}

void RecordingCanvas::FontChanged() {
  const CanvasFont& font = Font();
  std::string entry = "Font " + QuotedText(font.Name) + " " + CanvasNumberText(font.Size);
  if (font.Bold) entry += " bold";
  if (font.Italic) entry += " italic";
  if (font.Underline) entry += " underline";
  if (font.Strikethrough) entry += " strikethrough";
  Record(std::move(entry));
}

}  // namespace quendrel

#include "platform/qt/PainterCanvas.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>

#include "platform/SystemColors.h"
#include "platform/qt/QtConvert.h"

namespace quendrel {
namespace {

constexpr int kOpaqueAlpha = 128;

// What a painter's fillRect leaves in a 32-bit image for the colour, without making a QColor.
QRgb OpaqueRgb(Color color) {
  const std::uint32_t bgr = ResolveColor(color);
  return qRgb(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
              static_cast<int>((bgr >> 16) & 0xFFu));
}

}  // namespace

PainterCanvas::PainterCanvas(QImage& image)
    : device_(image), image_(&image), width_(image.width()), height_(image.height()),
      font_(ToQFont(Font())) {}

PainterCanvas::PainterCanvas(QPaintDevice& device, int pixelWidth, int pixelHeight)
    : device_(device), width_(pixelWidth), height_(pixelHeight), font_(ToQFont(Font())) {}

CanvasImage PainterCanvas::Snapshot() const {
  if (image_ == nullptr) return {};
  return FromQImage(*image_);
}

bool PainterCanvas::WritesPixels() const {
  if (image_ == nullptr) return false;
  const QImage::Format format = image_->format();
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

// What a painter's fillRect leaves in such an image for an opaque colour.
void PainterCanvas::FillSpans(const std::vector<PixelSpan>& spans, Color color) {
  if (WritesPixels()) {
    const QRgb rgb = OpaqueRgb(color);
    const int width = image_->width();
    const int height = image_->height();
    uchar* const bits = image_->bits();
    const qsizetype stride = image_->bytesPerLine();
    for (const PixelSpan& span : spans) {
      if (span.Y < 0 || span.Y >= height) continue;
      auto* line = reinterpret_cast<QRgb*>(bits + span.Y * stride);
      const int x1 = std::min(span.X1, width - 1);
      for (int x = std::max(span.X0, 0); x <= x1; ++x) line[x] = rgb;
    }
    return;
  }
  const QColor qcolor = ToQColor(color);
  QPainter painter(&device_);
  for (const PixelSpan& span : spans) {
    painter.fillRect(QRect(span.X0, span.Y, span.X1 - span.X0 + 1, 1), qcolor);
  }
}

void PainterCanvas::FillColumnSpans(std::span<const PixelColumnSpan> spans, Color color) {
  if (WritesPixels()) {
    WriteColumnSpans(spans, OpaqueRgb(color));
    return;
  }
  const QColor qcolor = ToQColor(color);
  QPainter painter(&device_);
  for (const PixelColumnSpan& span : spans) {
    painter.fillRect(QRect(span.X, span.Y0, 1, span.Y1 - span.Y0 + 1), qcolor);
  }
}

// A tall span written top to bottom touches a new cache line, often a new page, at every
// pixel; a short one stays among lines the cache still holds. Spans in one colour may go in any
// order, so neighbouring tall spans over the same rows become one rectangle, and a few
// rectangles at a time are written row by row.
void PainterCanvas::WriteColumnSpans(std::span<const PixelColumnSpan> spans, QRgb rgb) {
  constexpr int kShortRows = 64;
  uchar* const bits = image_->bits();  // the image is our own from here on
  const qsizetype stride = image_->bytesPerLine();
  const int width = image_->width();
  const int height = image_->height();
  std::array<PixelRect, kRectGroup> tall;
  std::size_t count = 0;
  for (const PixelColumnSpan& span : spans) {
    const PixelRect rect{span.X, span.X, std::max(span.Y0, 0), std::min(span.Y1, height - 1)};
    if (span.X < 0 || span.X >= width || rect.Top > rect.Bottom) continue;
    if (rect.Bottom - rect.Top < kShortRows) {
      for (int y = rect.Top; y <= rect.Bottom; ++y) {
        reinterpret_cast<QRgb*>(bits + y * stride)[rect.Left] = rgb;
      }
      continue;
    }
    if (count > 0 && tall[count - 1].Widen(rect)) continue;
    if (count == kRectGroup) {
      WriteRects({tall.data(), count}, rgb);
      count = 0;
    }
    tall[count++] = rect;
  }
  WriteRects({tall.data(), count}, rgb);
}

// A painter fills a large rectangle many pixels at a time; small ones are not worth one.
void PainterCanvas::WriteRects(std::span<const PixelRect> rects, QRgb rgb) {
  constexpr long long kPainterPixels = 4096;
  std::array<PixelRect, kRectGroup> small;
  std::size_t smallCount = 0;
  int top = image_->height();
  int bottom = -1;
  for (const PixelRect& rect : rects) {
    const long long pixels =
        static_cast<long long>(rect.Right - rect.Left + 1) * (rect.Bottom - rect.Top + 1);
    if (pixels >= kPainterPixels) {
      QPainter painter(&device_);
      painter.fillRect(QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right, rect.Bottom)),
                       QColor::fromRgb(rgb));
      continue;
    }
    small[smallCount++] = rect;
    top = std::min(top, rect.Top);
    bottom = std::max(bottom, rect.Bottom);
  }
  uchar* const bits = image_->bits();
  const qsizetype stride = image_->bytesPerLine();
  for (int y = top; y <= bottom; ++y) {
    auto* const line = reinterpret_cast<QRgb*>(bits + y * stride);
    for (std::size_t i = 0; i < smallCount; ++i) {
      const PixelRect& rect = small[i];
      if (y < rect.Top || y > rect.Bottom) continue;
      std::fill(line + rect.Left, line + rect.Right + 1, rgb);
    }
  }
}

void PainterCanvas::DoClear(Color color) {
  QPainter painter(&device_);
  painter.fillRect(QRect(0, 0, PixelWidth(), PixelHeight()), ToQColor(color));
  painter.end();
  Changed();
}

void PainterCanvas::DoLine(float x1, float y1, float x2, float y2, Color color) {
  const int column = ToPixel(x1);
  const int from = ToPixel(y1);
  const int to = ToPixel(y2);
  if (column == ToPixel(x2)) {
    // Upright, as rules and ticks are: one column of pixels.
    const PixelColumnSpan span = UprightLinePixels(column, from, to);
    if (span.Y0 <= span.Y1) FillColumnSpans({&span, 1}, color);
    Changed();
    return;
  }
  pixels_.clear();
  AppendLinePixels(column, from, ToPixel(x2), to, pixels_);
  FillSpans(pixels_, color);
  Changed();
}

void PainterCanvas::DoPolyline(std::span<const CanvasPoint> points, Color color) {
  pixels_.clear();
  for (std::size_t i = 1; i < points.size(); ++i) {
    AppendLinePixels(ToPixel(points[i - 1].X), ToPixel(points[i - 1].Y), ToPixel(points[i].X),
                     ToPixel(points[i].Y), pixels_);
  }
  FillSpans(pixels_, color);
  Changed();
}

void PainterCanvas::DoColumnSpans(std::span<const PixelColumnSpan> spans, Color color) {
  FillColumnSpans(spans, color);
  Changed();
}

void PainterCanvas::DoBox(float x1, float y1, float x2, float y2, Color outline, bool fill,
                          Color inside) {
  const int left = ToPixel(x1);
  const int top = ToPixel(y1);
  const int right = ToPixel(x2);
  const int bottom = ToPixel(y2);
  if (fill) {
    pixels_.clear();
    AppendBoxInsidePixels(left, top, right, bottom, pixels_);
    FillSpans(pixels_, inside);
  }
  pixels_.clear();
  AppendBoxOutlinePixels(left, top, right, bottom, pixels_);
  FillSpans(pixels_, outline);
  Changed();
}

void PainterCanvas::DoCircle(float x, float y, float radius, Color outline, bool fill,
                             Color inside) {
  const int cx = ToPixel(x);
  const int cy = ToPixel(y);
  const int r = ToPixel(radius);
  if (fill) {
    pixels_.clear();
    AppendCircleInsidePixels(cx, cy, r, pixels_);
    FillSpans(pixels_, inside);
  }
  pixels_.clear();
  AppendCircleOutlinePixels(cx, cy, r, pixels_);
  FillSpans(pixels_, outline);
  Changed();
}

void PainterCanvas::DoText(float x, float y, std::string_view line, Color color) {
  QPainter painter(&device_);
  painter.setFont(font_);
  painter.setPen(ToQColor(color));
  const QFontMetrics metrics(font_, &device_);
  painter.drawText(QPoint(ToPixel(x), ToPixel(y) + metrics.ascent()),
                   ToQString(std::string(line)));
  painter.end();
  Changed();
}

float PainterCanvas::DoTextWidth(std::string_view line) const {
  const QFontMetrics metrics(font_, &device_);
  return PixelsToTwipsX(
      static_cast<float>(metrics.horizontalAdvance(ToQString(std::string(line)))));
}

float PainterCanvas::DoLineHeight() const {
  const QFontMetrics metrics(font_, &device_);
  return PixelsToTwipsY(static_cast<float>(metrics.height()));
}

void PainterCanvas::DoFocusRect(int left, int top, int right, int bottom) {
  QPainter painter(&device_);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  for (const PixelPoint& point : FocusRectPixels(left, top, right, bottom)) {
    painter.fillRect(QRect(point.X, point.Y, 1, 1), Qt::white);
  }
  painter.end();
  Changed();
}

QImage PainterCanvas::PreparedImage(const CanvasImage& image, bool transparent) const {
  QImage prepared = ToQImage(image);
  const QRgb back = ToQColor(BackColor()).rgb();
  for (int y = 0; y < prepared.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(prepared.scanLine(y));
    for (int x = 0; x < prepared.width(); ++x) {
      if (qAlpha(line[x]) >= kOpaqueAlpha) {
        line[x] |= 0xFF000000u;
      } else {
        line[x] = transparent ? 0u : back;
      }
    }
  }
  return prepared;
}

void PainterCanvas::DoPicture(const CanvasImage& image, float x, float y, bool transparent) {
  const QImage prepared = PreparedImage(image, transparent);
  QPainter painter(&device_);
  painter.drawImage(QPoint(ToPixel(x), ToPixel(y)), prepared);
  painter.end();
  Changed();
}

void PainterCanvas::DoPicturePart(const CanvasImage& image, float x, float y, float srcX,
                                  float srcY, float width, float height) {
  const QImage prepared = PreparedImage(image, false);
  const QRect source(ToPixel(srcX), ToPixel(srcY), ToPixel(width), ToPixel(height));
  const QRect inside = source.intersected(prepared.rect());
  if (inside.isEmpty()) return;
  // Source pixels outside the picture draw nothing but keep the others in their places.
  const QPoint target = QPoint(ToPixel(x), ToPixel(y)) + (inside.topLeft() - source.topLeft());
  QPainter painter(&device_);
  painter.drawImage(target, prepared, inside);
  painter.end();
  Changed();
}

void PainterCanvas::FontChanged() { font_ = ToQFont(Font()); }

}  // namespace quendrel

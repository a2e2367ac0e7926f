// The canvas on a Qt paint device: an image at any time, or a widget while it paints.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <functional>
#include <vector>

#include "platform/Canvas.h"
#include "platform/PixelRules.h"

namespace quendrel {

// Lines, boxes and circles are filled in span by span from the shared pixel rules, so they
// cover exactly the pixels the recording canvas covers; text is Qt's own, antialiased, with
// its top at the current position. Painting opens a QPainter per call (or writes a 32-bit
// image's pixels directly), so the device stays free for others between calls.
class PainterCanvas : public Canvas {
 public:
  // The image must outlive the canvas; its size is the canvas size.
  explicit PainterCanvas(QImage& image);
  // A widget (inside its paint event) or another device of the given pixel size.
  PainterCanvas(QPaintDevice& device, int pixelWidth, int pixelHeight);

  // An image may be given a new size between calls; the canvas follows it.
  int PixelWidth() const override { return image_ != nullptr ? image_->width() : width_; }
  int PixelHeight() const override { return image_ != nullptr ? image_->height() : height_; }

  // Runs after every drawing call, so a widget showing the image can schedule a repaint.
  void OnChanged(std::function<void()> changed) { changed_ = std::move(changed); }
  // The image's pixels when drawing into an image; empty on other devices.
  CanvasImage Snapshot() const override;

 protected:
  void DoClear(Color color) override;
  void DoLine(float x1, float y1, float x2, float y2, Color color) override;
  void DoPolyline(std::span<const CanvasPoint> points, Color color) override;
  void DoColumnSpans(std::span<const PixelColumnSpan> spans, Color color) override;
  void DoBox(float x1, float y1, float x2, float y2, Color outline, bool fill,
             Color inside) override;
  void DoCircle(float x, float y, float radius, Color outline, bool fill, Color inside) override;
  void DoText(float x, float y, std::string_view line, Color color) override;
  float DoTextWidth(std::string_view line) const override;
  float DoLineHeight() const override;
  void DoFocusRect(int left, int top, int right, int bottom) override;
  void DoPicture(const CanvasImage& image, float x, float y, bool transparent) override;
  void DoPicturePart(const CanvasImage& image, float x, float y, float srcX, float srcY,
                     float width, float height) override;
  void FontChanged() override;

 private:
  // Straight into the pixels of a 32-bit image (a painter per call costs more than most
  // drawings), through a painter on any other device.
  void FillSpans(const std::vector<PixelSpan>& spans, Color color);
  void FillColumnSpans(std::span<const PixelColumnSpan> spans, Color color);
  // Pixels inside the image, all edges included.
  struct PixelRect {
    int Left;
    int Right;
    int Top;
    int Bottom;
    // Takes in a rectangle beside it over the same rows.
    bool Widen(const PixelRect& next) {
      if (next.Top != Top || next.Bottom != Bottom) return false;
      if (next.Left == Right + 1) {
        Right = next.Right;
        return true;
      }
      if (next.Right == Left - 1) {
        Left = next.Left;
        return true;
      }
      return false;
    }
  };
  static constexpr std::size_t kRectGroup = 16;
  void WriteColumnSpans(std::span<const PixelColumnSpan> spans, QRgb rgb);
  void WriteRects(std::span<const PixelRect> rects, QRgb rgb);  // at most kRectGroup
  bool WritesPixels() const;
  // Alpha becomes all or nothing, as the recording canvas sees it; opaque drawing puts
  // BackColor where the picture is transparent.
  QImage PreparedImage(const CanvasImage& image, bool transparent) const;
  void Changed() const {
    if (changed_) changed_();
  }

  QPaintDevice& device_;
  QImage* image_ = nullptr;
  int width_;
  int height_;
  QFont font_;
  std::function<void()> changed_;
  std::vector<PixelSpan> pixels_;  // of the shape being drawn, kept for the next
};

}  // namespace quendrel

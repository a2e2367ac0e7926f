// A picture-box drawing surface measured in twips, the one way core code draws, so that the
// same drawing runs on screen, into an image or into a test log.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CanvasFont.h"
#include "platform/CanvasImage.h"
#include "platform/PixelRules.h"

namespace quendrel {

// Colours are 0x00BBGGRR, or 0x800000nn for the desktop's system colour nn.
using Color = std::uint32_t;
inline constexpr Color SystemColorFlag = 0x80000000u;

inline constexpr int vbFSSolid = 0;
inline constexpr int vbFSTransparent = 1;

// 1440 twips per inch at 96 pixels per inch.
inline constexpr float TwipsPerPixel = 15.0f;

struct CanvasPoint {
  float X = 0.0f;
  float Y = 0.0f;
};

// Pixel rules every implementation follows, so a faster drawing can be proven to give the
// identical picture:
// - a coordinate in twips becomes the nearest whole pixel (twips / 15, halves to even);
// - drawing is aliased, one pixel wide;
// - a line covers its first pixel and leaves out its last (as the next line starts there);
// - a box covers both corners; its outline is in the given colour and its inside is filled
//   with FillColor when FillStyle is solid (a filled box is inside and outline in one colour);
// - a circle's outline covers every pixel at the rounded radius from the rounded centre, its
//   inside is filled like a box's;
// - text is drawn without background, its top left at the current position;
// - the focus rectangle is given in pixels, right and bottom excluded, dotted, and inverts
//   the pixels it covers, so drawing it twice removes it;
// - fill styles other than solid draw as transparent.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Halves to even, as nearbyint does in the default rounding mode. Adding and taking away
  // 1.5 * 2^52 rounds the same way without nearbyint's library call, which saves and restores
  // the floating-point state and costs more than the rest of a line graph's point.
  static int ToPixel(float twips) {
    constexpr double kRounder = 6755399441055744.0;
    const double pixels = static_cast<double>(twips) / TwipsPerPixel;
    if (std::fabs(pixels) < 1.0e15) return static_cast<int>((pixels + kRounder) - kRounder);
    return static_cast<int>(std::nearbyint(pixels));
  }
  static float PixelsToTwipsX(float pixels) { return pixels * TwipsPerPixel; }
  static float PixelsToTwipsY(float pixels) { return pixels * TwipsPerPixel; }
  static float TwipsToPixelsX(float twips) { return twips / TwipsPerPixel; }
  static float TwipsToPixelsY(float twips) { return twips / TwipsPerPixel; }

  // Inner size.
  virtual int PixelWidth() const = 0;
  virtual int PixelHeight() const = 0;
  float ScaleWidth() const { return PixelsToTwipsX(static_cast<float>(PixelWidth())); }
  float ScaleHeight() const { return PixelsToTwipsY(static_cast<float>(PixelHeight())); }

  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color) { foreColor_ = color; }
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color) { backColor_ = color; }
  Color FillColor() const { return fillColor_; }
  void SetFillColor(Color color) { fillColor_ = color; }
  int FillStyle() const { return fillStyle_; }
  void SetFillStyle(int style) { fillStyle_ = style; }

  float CurrentX() const { return currentX_; }
  void SetCurrentX(float x) { currentX_ = x; }
  float CurrentY() const { return currentY_; }
  void SetCurrentY(float y) { currentY_ = y; }

  const CanvasFont& Font() const { return font_; }
  void SetFont(const CanvasFont& font);
  void SetFontName(const std::string& name);
  void SetFontSize(float size);
  void SetFontBold(bool bold);

  // Fills the surface with BackColor; the current position returns to 0, 0.
  void Cls();

  // Segments end at their second point, which becomes the current position.
  void Line(float x1, float y1, float x2, float y2) { Line(x1, y1, x2, y2, foreColor_); }
  void Line(float x1, float y1, float x2, float y2, Color color);
  void LineTo(float x, float y) { LineTo(x, y, foreColor_); }
  void LineTo(float x, float y, Color color);
  void LineBy(float dx, float dy) { LineBy(dx, dy, foreColor_); }
  void LineBy(float dx, float dy, Color color);
  // Connected segments through every point, the same pixels as one Line per segment.
  void Polyline(std::span<const CanvasPoint> points) { Polyline(points, foreColor_); }
  void Polyline(std::span<const CanvasPoint> points, Color color);

  // Whole device pixels, given in pixels, for drawings that have already worked out which
  // pixels their many small shapes cover; the current position stays where it was.
  void ColumnSpans(std::span<const PixelColumnSpan> spans, Color color) {
    if (!spans.empty()) DoColumnSpans(spans, color);
  }

  void Box(float x1, float y1, float x2, float y2) { Box(x1, y1, x2, y2, foreColor_); }
  void Box(float x1, float y1, float x2, float y2, Color color);
  void FilledBox(float x1, float y1, float x2, float y2) { FilledBox(x1, y1, x2, y2, foreColor_); }
  void FilledBox(float x1, float y1, float x2, float y2, Color color);

  // The centre becomes the current position.
  void Circle(float x, float y, float radius) { Circle(x, y, radius, foreColor_); }
  void Circle(float x, float y, float radius, Color color);

  // Text at the current position in ForeColor; afterwards CurrentX is 0 and CurrentY one line
  // further down per line of text (one line for an empty text). "\n" or "\r\n" start lines.
  void Print(std::string_view text);
  float TextWidth(std::string_view text) const;  // the widest line
  float TextHeight(std::string_view text) const;  // one line height per line

  void DrawFocusRect(int left, int top, int right, int bottom) {
    DoFocusRect(left, top, right, bottom);
  }

  // The picture with its top left at x, y; transparent leaves its alpha-0 pixels out,
  // otherwise they show BackColor.
  void PaintPicture(const CanvasImage& image, float x, float y, bool transparent);
  // Copies the part of the picture at srcX, srcY of the given size to x, y, all in twips.
  void PaintPicturePart(const CanvasImage& image, float x, float y, float srcX, float srcY,
                        float width, float height);

  // What the surface shows now; empty where the surface keeps no pixels.
  virtual CanvasImage Snapshot() const { return {}; }

 protected:
  virtual void DoClear(Color color) = 0;
  virtual void DoLine(float x1, float y1, float x2, float y2, Color color) = 0;
  virtual void DoPolyline(std::span<const CanvasPoint> points, Color color);
  virtual void DoColumnSpans(std::span<const PixelColumnSpan> spans, Color color) = 0;
  // fill is false when the inside stays as it is.
  virtual void DoBox(float x1, float y1, float x2, float y2, Color outline, bool fill,
                     Color inside) = 0;
  virtual void DoCircle(float x, float y, float radius, Color outline, bool fill,
                        Color inside) = 0;
  virtual void DoText(float x, float y, std::string_view line, Color color) = 0;
  virtual float DoTextWidth(std::string_view line) const = 0;
  virtual float DoLineHeight() const = 0;
  virtual void DoFocusRect(int left, int top, int right, int bottom) = 0;
  virtual void DoPicture(const CanvasImage& image, float x, float y, bool transparent) = 0;
  virtual void DoPicturePart(const CanvasImage& image, float x, float y, float srcX, float srcY,
                             float width, float height) = 0;
  virtual void FontChanged() {}

  static std::vector<std::string_view> SplitLines(std::string_view text);

 private:
  bool Fills() const { return fillStyle_ == vbFSSolid; }

  Color foreColor_ = 0x80000012u;  // button text
  Color backColor_ = 0x8000000Fu;  // button face
  Color fillColor_ = 0x00000000u;
  int fillStyle_ = vbFSTransparent;
  float currentX_ = 0.0f;
  float currentY_ = 0.0f;
  CanvasFont font_;
};

}  // namespace quendrel

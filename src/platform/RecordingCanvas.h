// A canvas for tests: writes every drawing call to a readable log and paints the covered
// pixels into its own image, with fixed text metrics so geometry is exact on any machine.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/PixelRules.h"

namespace quendrel {

// Text metrics: every character, whatever it is, is 10 twips wide per point of font size,
// and a line is 20 twips high per point (at size 10: 100 and 200 twips). Bold, italic and
// the font name change nothing. Text is logged but not painted into the image.
//
// Log lines (coordinates in twips as given, shortest number text; colours as given, in
// hexadecimal 0xBBGGRR form or 0x800000nn for system colours):
//   Cls 0x8000000F
//   Line (0,0)-(150,150) 0x0000FF
//   Polyline 0x0000FF (0,0) (150,150) (300,0)
//   ColumnSpans 0x0000FF 3:10..12 4:9..13   (pixels: column:top..bottom, both included)
//   Box (0,0)-(150,150) 0x0000FF             [fill 0x00FF00 when FillStyle is solid]
//   FilledBox (0,0)-(150,150) 0x0000FF      (also a solid-filled Box whose fill is its outline)
//   Circle (150,150) r30 0x0000FF            [fill 0x00FF00 when FillStyle is solid]
//   Print (0,0) 0x80000012 "text"            (one entry per line of text)
//   Font "MS Sans Serif" 8.25                [bold] [italic] [underline] [strikethrough]
//   FocusRect 1,1-20,10                      (pixels)
//   Picture "pram" 16x16 at (15,15)          [transparent]
//   PicturePart "pram" (0,30)+(240,210) at (15,0)
class RecordingCanvas : public Canvas {
 public:
  static constexpr float CharWidthPerPoint = 10.0f;
  static constexpr float LineHeightPerPoint = 20.0f;

  explicit RecordingCanvas(int pixelWidth = 320, int pixelHeight = 240);

  int PixelWidth() const override { return width_; }
  int PixelHeight() const override { return height_; }

  const std::vector<std::string>& Log() const { return log_; }
  // The log as one text, a line feed after every entry.
  std::string LogText() const;
  void ClearLog() { log_.clear(); }

  // The resolved colour (0x00BBGGRR) of a pixel, black outside the surface.
  std::uint32_t PixelAt(int x, int y) const;
  // The pixels as 0xFFRRGGBB, the colours resolved.
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
  void Paint(const std::vector<PixelSpan>& spans, Color color);
  void SetPixel(int x, int y, std::uint32_t bgr);
  void Record(std::string entry) { log_.push_back(std::move(entry)); }

  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;  // resolved 0x00BBGGRR
  std::vector<std::string> log_;
};

// Shortest text of a twips value as the log writes it ("150", "82.5", "-7.5").
std::string CanvasNumberText(float value);
// A colour as the log writes it: "0x0000FF", or "0x80000005" for a system colour.
std::string CanvasColorText(Color color);

}  // namespace quendrel

// The Qt canvas must draw the very pixels the recording canvas documents, so drawing code
// tested on the recording canvas looks the same on screen.
#include "platform/qt/PainterCanvas.h"

#include <gtest/gtest.h>


#include "platform/BitmapFile.h"
#include "platform/FakeImageList.h"
#include "platform/RecordingCanvas.h"
#include "platform/SystemColors.h"
#include "platform/qt/QtConvert.h"
#include "platform/support/DifferentPixels.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0xFF0000;
constexpr Color kWhite = 0xFFFFFF;

// A bit of everything the windows draw, text left out (fonts differ by design).
void DrawSample(Canvas& canvas, const ImageList& icons) {
  canvas.SetBackColor(0x80000000u | sysWindow);
  canvas.Cls();
  canvas.FilledBox(15, 15, 450, 300, 0x80000000u | sysHighlight);
  canvas.Box(30, 30, 435, 285, kRed);
  canvas.SetFillStyle(vbFSSolid);
  canvas.SetFillColor(kGreen);
  canvas.Box(600, 30, 900, 240, kBlue);
  canvas.Circle(1200, 150, 30, kRed);
  canvas.Circle(1500, 300, 225, kBlue);
  canvas.SetFillStyle(vbFSTransparent);
  canvas.Circle(2100, 300, 150, kGreen);
  const std::vector<CanvasPoint> graph = {{100, 1200}, {400, 700}, {700, 1000}, {1000, 500},
                                          {1300, 1300}, {1600, 900}, {2400, 1000}};
  canvas.Polyline(graph, kBlue);
  canvas.Line(100, 1400, 2400, 1400, 0);
  canvas.Line(100, 1400, 100, 600, 0);
  canvas.Line(2620, 100, 2610, 700, kBlue);
  canvas.Line(2650, 100, 2650, 100, kRed);
  for (int k = -2; k <= 2; ++k) canvas.Line(2500, 1000, 2575, 1000 + 15 * k, kRed);
  // Column spans, some reaching past the surface's edges, which clip them.
  const std::vector<PixelColumnSpan> spans = {{150, 5, 9}, {151, -3, 2}, {199, 110, 130},
                                              {200, 0, 5}, {-1, 0, 5}, {152, 7, 7}};
  canvas.ColumnSpans(spans, kBlue);
  canvas.LineTo(2700, 400, kGreen);
  canvas.LineBy(-300, 300, kGreen);
  canvas.DrawFocusRect(1, 1, 40, 22);
  icons.Draw(canvas, "pram", 2700, 1200, true);
  icons.Draw(canvas, "readonly", 2700, 1500, false);
  canvas.PaintPicturePart(icons.Image("pram"), 2400, 1500, 60, 45, 120, 90);
}

FakeImageList SampleIcons() {
  FakeImageList icons(16, 16);
  CanvasImage ring;
  ring.Width = 16;
  ring.Height = 16;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const int d = (x - 8) * (x - 8) + (y - 8) * (y - 8);
      ring.Pixels.push_back(d < 20 ? 0xFFFFD700u : d < 50 ? 0xFF2060C0u : 0x00000000u);
    }
  }
  icons.Add("pram", ring);
  icons.Add("readonly", ring);
  return icons;
}

QImage NewImage(int width, int height, QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, format);
  image.fill(Qt::black);
  return image;
}

void SaveForViewing(const QImage& image, const char* name) {
  image.save(QString::fromStdString(TestOutputPath("platform", name)));
}

class PainterCanvasTest : public ::testing::Test {
 protected:
  PainterCanvasTest() { QtTestApp(); }
};

// 32-bit images take their pixels written directly, others go through a painter.
TEST_F(PainterCanvasTest, SampleDrawingMatchesTheRecordingCanvasPixelForPixel) {
  for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied,
                                      QImage::Format_RGB888}) {
    SCOPED_TRACE(format);
    const FakeImageList icons = SampleIcons();
    RecordingCanvas recording(200, 120);
    DrawSample(recording, icons);
    QImage image = NewImage(200, 120, format);
    PainterCanvas painter(image);
    DrawSample(painter, icons);
    if (format == QImage::Format_RGB32) {
      SaveForViewing(image.scaled(800, 480), "painter-canvas-sample.png");
    }

    const CanvasImage expected = recording.Snapshot();
    const CanvasImage actual = painter.Snapshot();
    ASSERT_EQ(actual.Width, expected.Width);
    ASSERT_EQ(actual.Height, expected.Height);
    EXPECT_EQ(DifferentPixels(actual, expected), 0);
  }
}

// Span sets as dense drawings make them: blocks of neighbours over the same rows (large enough
// for a painter's fill, either way along), tall spans of ragged rows, more than a handful at
// once, short ones, and spans reaching past every edge or covering nothing.
void DrawSpanSets(Canvas& canvas) {
  canvas.SetBackColor(kWhite);
  canvas.Cls();
  std::vector<PixelColumnSpan> block;
  for (int x = 10; x < 60; ++x) block.push_back({x, 5, 100});
  canvas.ColumnSpans(block, kBlue);
  std::vector<PixelColumnSpan> backwards;
  for (int x = 120; x > 100; --x) backwards.push_back({x, -10, 130});
  canvas.ColumnSpans(backwards, kGreen);
  std::vector<PixelColumnSpan> ragged;
  for (int x = 30; x < 70; ++x) ragged.push_back({x, 20 + x % 9, 90 + x % 5});
  ragged.push_back({31, 0, 3});
  canvas.ColumnSpans(ragged, kRed);
  std::vector<PixelColumnSpan> edges = {{-1, 0, 119}, {0, -5, 200}, {199, 50, 60}, {200, 0, 10},
                                        {150, 7, 6},  {150, 119, 125}, {151, -9, 0}};
  for (int x = 140; x < 190; x += 2) edges.push_back({x, x % 11, x % 11 + 3});
  canvas.ColumnSpans(edges, 0x00808080);
}

TEST_F(PainterCanvasTest, ColumnSpansInAnyArrangementMatchTheRecordingCanvas) {
  RecordingCanvas recording(200, 120);
  DrawSpanSets(recording);
  for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32,
                                      QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888}) {
    SCOPED_TRACE(format);
    QImage image = NewImage(200, 120, format);
    PainterCanvas painter(image);
    DrawSpanSets(painter);
    EXPECT_EQ(DifferentPixels(painter.Snapshot(), recording.Snapshot()), 0);
  }
}

TEST_F(PainterCanvasTest, SnapshotSavedAsBitmapReadsBackIdentical) {
  const FakeImageList icons = SampleIcons();
  QImage image = NewImage(200, 120);
  PainterCanvas canvas(image);
  DrawSample(canvas, icons);
  const std::string path = TestOutputPath("platform", "painter-canvas-snapshot.bmp");
  ASSERT_TRUE(SaveBitmapFile(canvas.Snapshot(), path));
  const QImage reloaded(QString::fromStdString(path), "BMP");
  ASSERT_FALSE(reloaded.isNull());
  EXPECT_EQ(reloaded.convertToFormat(QImage::Format_RGB32), image);
}

TEST_F(PainterCanvasTest, LineLeavesOutItsLastPixelAndBoxCoversBothCorners) {
  QImage image = NewImage(20, 20);
  PainterCanvas canvas(image);
  canvas.SetBackColor(kWhite);
  canvas.Cls();
  canvas.Line(15, 15, 150, 15, kRed);  // pixels 1..9 of row 1
  canvas.FilledBox(30, 45, 90, 120, kBlue);  // pixels 2..6 x 3..8
  EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(9, 1), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(10, 1), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(2, 3), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(6, 8), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(7, 8), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(6, 9), QColor(255, 255, 255));
}

TEST_F(PainterCanvasTest, FocusRectInvertsAndSecondDrawRestores) {
  QImage image = NewImage(30, 20);
  PainterCanvas canvas(image);
  canvas.SetBackColor(kBlue);
  canvas.Cls();
  const QImage before = image.copy();
  canvas.DrawFocusRect(0, 0, 30, 20);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 255, 0));
  EXPECT_EQ(image.pixelColor(1, 0), QColor(0, 0, 255));
  canvas.DrawFocusRect(0, 0, 30, 20);
  EXPECT_EQ(image, before);
}

TEST_F(PainterCanvasTest, TextMeasuresInWholePixelsAndPrintsInsideItsCell) {
  QImage image = NewImage(200, 60);
  PainterCanvas canvas(image);
  canvas.SetBackColor(kWhite);
  canvas.Cls();
  canvas.SetForeColor(0);
  const float width = canvas.TextWidth("Quendrel 0.0");
  const float height = canvas.TextHeight("Quendrel 0.0");
  EXPECT_GT(width, 0.0f);
  EXPECT_EQ(std::fmod(width, TwipsPerPixel), 0.0f);
  EXPECT_EQ(std::fmod(height, TwipsPerPixel), 0.0f);
  EXPECT_EQ(canvas.TextHeight("a\nb"), 2 * height);
  // 8.25 points at 96 dpi: an 11-pixel font, whose lines are taller than that.
  EXPECT_GE(height, 11 * TwipsPerPixel);

  canvas.SetCurrentX(150);
  canvas.SetCurrentY(150);
  canvas.Print("Quendrel 0.0");
  EXPECT_EQ(canvas.CurrentY(), 150 + height);
  EXPECT_EQ(canvas.CurrentX(), 0);
  const QRect cell(10, 10, Canvas::ToPixel(width), Canvas::ToPixel(height));
  int inked = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == QColor(255, 255, 255)) continue;
      ++inked;
      EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(x, y)) << x << "," << y;
    }
  }
  EXPECT_GT(inked, 20);
  SaveForViewing(image.scaled(800, 240), "painter-canvas-text.png");
}

TEST_F(PainterCanvasTest, BiggerFontMeasuresWider) {
  QImage image = NewImage(10, 10);
  PainterCanvas canvas(image);
  const float small = canvas.TextWidth("Scan/Graph/Log");
  canvas.SetFontSize(16);
  EXPECT_GT(canvas.TextWidth("Scan/Graph/Log"), small * 1.5f);
}

}  // namespace
}  // namespace quendrel

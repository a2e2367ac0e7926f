// The canvas semantics every drawing relies on, on the recording canvas: current position,
// text metrics and printing, twips-to-pixel rounding, fills, pictures and the log.
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "platform/FakeImageList.h"
#include "platform/SystemColors.h"

namespace quendrel {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0xFF0000;
constexpr Color kWhite = 0xFFFFFF;

class RecordingCanvasTest : public ::testing::Test {
 protected:
  RecordingCanvasTest() : canvas(40, 30) {
    canvas.SetBackColor(kWhite);
    canvas.Cls();
    canvas.ClearLog();
  }

  int CountPixels(std::uint32_t bgr) const {
    int count = 0;
    for (int y = 0; y < canvas.PixelHeight(); ++y) {
      for (int x = 0; x < canvas.PixelWidth(); ++x) count += canvas.PixelAt(x, y) == bgr ? 1 : 0;
    }
    return count;
  }

  RecordingCanvas canvas;
};

TEST_F(RecordingCanvasTest, LinesMoveTheCurrentPositionToTheirEnd) {
  canvas.Line(15, 30, 150, 30, kRed);
  EXPECT_EQ(canvas.CurrentX(), 150);
  EXPECT_EQ(canvas.CurrentY(), 30);
  canvas.LineTo(150, 150, kRed);
  canvas.LineBy(-45, 15, kRed);
  EXPECT_EQ(canvas.CurrentX(), 105);
  EXPECT_EQ(canvas.CurrentY(), 165);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"Line (15,30)-(150,30) 0x0000FF",
                                                     "Line (150,30)-(150,150) 0x0000FF",
                                                     "Line (150,150)-(105,165) 0x0000FF"}));
}

TEST_F(RecordingCanvasTest, LineWithoutColourUsesForeColor) {
  canvas.SetForeColor(kGreen);
  canvas.Line(0, 0, 45, 0);
  EXPECT_EQ(canvas.Log().back(), "Line (0,0)-(45,0) 0x00FF00");
  EXPECT_EQ(CountPixels(kGreen), 3);  // pixels 0..2, the end pixel 3 left out
}

// Many spans are one call, in one log entry; parts beyond the surface are left out.
TEST_F(RecordingCanvasTest, ColumnSpansAreOneEntryAndClipToTheSurface) {
  const std::vector<PixelColumnSpan> spans = {{3, 10, 12}, {4, -5, 1}, {39, 28, 35}, {40, 0, 3}};
  canvas.ClearLog();
  canvas.ColumnSpans(spans, kGreen);
  canvas.ColumnSpans({}, kGreen);
  ASSERT_EQ(canvas.Log().size(), 1u);
  EXPECT_EQ(canvas.Log()[0], "ColumnSpans 0x00FF00 3:10..12 4:-5..1 39:28..35 40:0..3");
  EXPECT_EQ(CountPixels(kGreen), 3 + 2 + 2);
  EXPECT_EQ(canvas.PixelAt(4, 1), kGreen);
  EXPECT_EQ(canvas.PixelAt(4, 2), kWhite);
}

TEST_F(RecordingCanvasTest, TwipsRoundToTheNearestPixelHalvesToEven) {
  struct Case {
    float twips;
    int pixel;
  };
  for (const Case& c : std::array<Case, 7>{{{0, 0},
                                            {7.4f, 0},
                                            {7.5f, 0},
                                            {7.6f, 1},
                                            {22.5f, 2},
                                            {37.5f, 2},
                                            {-22.5f, -2}}}) {
    EXPECT_EQ(Canvas::ToPixel(c.twips), c.pixel) << c.twips << " twips";
  }
}

// The fast rounding must agree with nearbyint on every half and its neighbours, near zero and
// as far out as a pixel still fits an int.
TEST_F(RecordingCanvasTest, TwipsRoundingAgreesWithNearbyint) {
  const auto expected = [](float twips) {
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / 15.0));
  };
  for (const double base : {0.0, 1.0e3, 1.0e6, 1.0e9, 3.0e10}) {
    for (int k = -40; k <= 40; ++k) {
      const auto half = static_cast<float>((base > 0 ? base : 0.0) + 7.5 * k);
      for (const float twips : {half, std::nextafter(half, -1e30f), std::nextafter(half, 1e30f),
                                -half}) {
        EXPECT_EQ(Canvas::ToPixel(twips), expected(twips)) << twips << " twips";
      }
    }
  }
}

TEST_F(RecordingCanvasTest, PrintAdvancesOneLineAndReturnsToTheLeftEdge) {
  canvas.SetFontSize(10);
  canvas.SetForeColor(kBlue);
  canvas.SetCurrentX(300);
  canvas.SetCurrentY(100);
  canvas.Print("abc");
  EXPECT_EQ(canvas.CurrentX(), 0);
  EXPECT_EQ(canvas.CurrentY(), 300);
  canvas.Print("");
  EXPECT_EQ(canvas.CurrentY(), 500);
  canvas.Print("one\r\ntwo\nthree");
  EXPECT_EQ(canvas.CurrentY(), 1100);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"Font \"MS Sans Serif\" 10",
                                                     "Print (300,100) 0xFF0000 \"abc\"",
                                                     "Print (0,500) 0xFF0000 \"one\"",
                                                     "Print (0,700) 0xFF0000 \"two\"",
                                                     "Print (0,900) 0xFF0000 \"three\""}));
}

TEST_F(RecordingCanvasTest, TextMetricsScaleWithTheFontSize) {
  EXPECT_EQ(canvas.TextWidth("abcd"), 4 * 82.5f);  // default 8.25 points
  EXPECT_EQ(canvas.TextHeight("abcd"), 165.0f);
  canvas.SetFontSize(10);
  canvas.SetFontBold(true);
  EXPECT_EQ(canvas.TextWidth(" 0.0"), 400.0f);
  EXPECT_EQ(canvas.TextWidth(""), 0.0f);
  EXPECT_EQ(canvas.TextHeight(""), 200.0f);
  EXPECT_EQ(canvas.TextWidth("ab\r\nabcde\nc"), 500.0f);
  EXPECT_EQ(canvas.TextHeight("ab\r\nabcde\nc"), 600.0f);
  EXPECT_EQ(canvas.Log().back(), "Font \"MS Sans Serif\" 10 bold");
}

TEST_F(RecordingCanvasTest, ClsFillsWithBackColorAndResetsThePosition) {
  canvas.SetCurrentX(99);
  canvas.SetCurrentY(77);
  canvas.SetBackColor(0x80000005u);
  canvas.Cls();
  EXPECT_EQ(canvas.CurrentX(), 0);
  EXPECT_EQ(canvas.CurrentY(), 0);
  EXPECT_EQ(canvas.Log().back(), "Cls 0x80000005");
  EXPECT_EQ(CountPixels(ResolveColor(0x80000005u)), 40 * 30);
}

TEST_F(RecordingCanvasTest, BoxFillsItsInsideOnlyWithSolidFillStyle) {
  canvas.Box(15, 15, 75, 60, kRed);  // pixels 1..5 x 1..4
  EXPECT_EQ(CountPixels(kRed), 14);
  EXPECT_EQ(CountPixels(kGreen), 0);
  canvas.SetFillColor(kGreen);
  canvas.SetFillStyle(vbFSSolid);
  canvas.Box(15, 15, 75, 60, kRed);
  EXPECT_EQ(CountPixels(kRed), 14);
  EXPECT_EQ(CountPixels(kGreen), 6);
  EXPECT_EQ(canvas.Log().back(), "Box (15,15)-(75,60) 0x0000FF fill 0x00FF00");
}

TEST_F(RecordingCanvasTest, FilledBoxCoversBothCornersWhateverTheFillStyle) {
  canvas.FilledBox(75, 60, 15, 15, kBlue);
  EXPECT_EQ(CountPixels(kBlue), 5 * 4);
  EXPECT_EQ(canvas.PixelAt(1, 1), kBlue);
  EXPECT_EQ(canvas.PixelAt(5, 4), kBlue);
  EXPECT_EQ(canvas.PixelAt(6, 4), kWhite);
  EXPECT_EQ(canvas.Log().back(), "FilledBox (75,60)-(15,15) 0xFF0000");
}

TEST_F(RecordingCanvasTest, CircleIsOutlinedInItsColourAndFilledPerFillStyle) {
  canvas.SetFillColor(kGreen);
  canvas.Circle(150, 150, 30, kRed);  // transparent fill: a ring only
  EXPECT_EQ(CountPixels(kGreen), 0);
  EXPECT_EQ(canvas.PixelAt(10, 10), kWhite);
  EXPECT_EQ(canvas.CurrentX(), 150);
  canvas.SetFillStyle(vbFSSolid);
  canvas.Circle(150, 150, 30, kRed);
  EXPECT_EQ(canvas.PixelAt(10, 10), kGreen);
  EXPECT_EQ(CountPixels(kRed) + CountPixels(kGreen), 21);
  EXPECT_EQ(canvas.Log().back(), "Circle (150,150) r30 0x0000FF fill 0x00FF00");
}

TEST_F(RecordingCanvasTest, PolylineGivesTheSamePixelsAsItsSegments) {
  const std::vector<CanvasPoint> points = {{15, 15}, {300, 120}, {450, 30}, {100, 400}, {20, 20}};
  RecordingCanvas segments(40, 30);
  segments.SetBackColor(kWhite);
  segments.Cls();
  for (std::size_t i = 1; i < points.size(); ++i) {
    segments.Line(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y, kRed);
  }
  canvas.Polyline(points, kRed);
  EXPECT_EQ(canvas.Snapshot().Pixels, segments.Snapshot().Pixels);
  EXPECT_EQ(canvas.CurrentX(), 20);
  EXPECT_EQ(canvas.CurrentY(), 20);
  EXPECT_EQ(canvas.Log().back(),
            "Polyline 0x0000FF (15,15) (300,120) (450,30) (100,400) (20,20)");
}

TEST_F(RecordingCanvasTest, PolylineOfOnePointDrawsNothing) {
  const std::vector<CanvasPoint> points = {{15, 15}};
  canvas.Polyline(points, kRed);
  EXPECT_TRUE(canvas.Log().empty());
}

TEST_F(RecordingCanvasTest, FocusRectDrawnTwiceLeavesNoTrace) {
  canvas.FilledBox(0, 0, 150, 150, kBlue);
  const CanvasImage before = canvas.Snapshot();
  canvas.DrawFocusRect(2, 2, 30, 20);
  EXPECT_EQ(canvas.PixelAt(2, 2), kBlue ^ 0xFFFFFFu);
  EXPECT_EQ(canvas.PixelAt(20, 2), kWhite ^ 0xFFFFFFu);
  EXPECT_EQ(canvas.PixelAt(3, 2), kBlue);
  canvas.DrawFocusRect(2, 2, 30, 20);
  EXPECT_EQ(canvas.Snapshot().Pixels, before.Pixels);
  EXPECT_EQ(canvas.Log().back(), "FocusRect 2,2-30,20");
}

TEST_F(RecordingCanvasTest, SystemColoursResolveThroughTheSchemeTable) {
  SetSystemColor(sysHighlight, 0x123456);
  canvas.FilledBox(0, 0, 0, 0, 0x80000000u | sysHighlight);
  EXPECT_EQ(canvas.PixelAt(0, 0), 0x123456u);
  EXPECT_EQ(canvas.Log().back(), "FilledBox (0,0)-(0,0) 0x8000000D");
  ResetSystemColors();
  EXPECT_EQ(ResolveColor(0x8000000Du), 0x6A240Au);
  EXPECT_EQ(ResolveColor(0x12345678u), 0x345678u);
  EXPECT_EQ(ResolveColor(0x800000FFu), 0u);
}

class PictureTest : public RecordingCanvasTest {
 protected:
  PictureTest() : icons(2, 2) {
    CanvasImage image;
    image.Width = 2;
    image.Height = 2;
    // Red, transparent / green, blue.
    image.Pixels = {0xFFFF0000u, 0x00000000u, 0xFF00FF00u, 0xFF0000FFu};
    icons.Add("pram", image);
  }
  FakeImageList icons;
};

TEST_F(PictureTest, TransparentDrawingLeavesTheBackgroundShowing) {
  canvas.FilledBox(0, 0, 150, 150, kGreen);
  icons.Draw(canvas, "pram", 15, 30, true);
  EXPECT_EQ(canvas.PixelAt(1, 2), kRed);
  EXPECT_EQ(canvas.PixelAt(2, 2), kGreen);
  EXPECT_EQ(canvas.PixelAt(2, 3), kBlue);
  EXPECT_EQ(canvas.Log().back(), "Picture \"pram\" 2x2 at (15,30) transparent");
}

TEST_F(PictureTest, OpaqueDrawingShowsBackColorInTransparentPixels) {
  canvas.FilledBox(0, 0, 150, 150, kGreen);
  icons.Draw(canvas, "pram", 15, 30, false);
  EXPECT_EQ(canvas.PixelAt(2, 2), kWhite);
  EXPECT_EQ(canvas.Log().back(), "Picture \"pram\" 2x2 at (15,30)");
}

TEST_F(PictureTest, UnknownKeyDrawsNothing) {
  icons.Draw(canvas, "menu", 0, 0, true);
  EXPECT_TRUE(canvas.Log().empty());
  EXPECT_FALSE(icons.HasImage("menu"));
}

TEST_F(PictureTest, PartCopiesOnlyTheChosenRectangle) {
  canvas.PaintPicturePart(icons.Image("pram"), 0, 0, 0, 15, 30, 15);  // the bottom row
  EXPECT_EQ(canvas.PixelAt(0, 0), kGreen);
  EXPECT_EQ(canvas.PixelAt(1, 0), kBlue);
  EXPECT_EQ(canvas.PixelAt(0, 1), kWhite);
  EXPECT_EQ(canvas.Log().back(), "PicturePart \"pram\" (0,15)+(30,15) at (0,0)");
}

TEST(ImageListTest, HimetricSizeIsPixelsAt96Dpi) {
  const FakeImageList icons(16, 12);
  EXPECT_DOUBLE_EQ(icons.ImageWidthHimetric(), 16 * 2540.0 / 96.0);
  EXPECT_DOUBLE_EQ(icons.ImageHeightHimetric(), 317.5);
}

TEST(CanvasNumberTextTest, ShortestTextWithoutLocale) {
  EXPECT_EQ(CanvasNumberText(150.0f), "150");
  EXPECT_EQ(CanvasNumberText(82.5f), "82.5");
  EXPECT_EQ(CanvasNumberText(-7.25f), "-7.25");
  EXPECT_EQ(CanvasNumberText(0.1f), "0.1");
}

}  // namespace
}  // namespace quendrel

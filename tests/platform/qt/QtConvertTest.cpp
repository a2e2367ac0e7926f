// Byte strings, colours, fonts and pictures must cross into Qt and back unchanged.
#include "platform/qt/QtConvert.h"

#include <gtest/gtest.h>

#include "platform/SystemColors.h"
#include "platform/qt/QtImageList.h"
#include "platform/qt/QtTestApp.h"

namespace quendrel {
namespace {

class QtConvertTest : public ::testing::Test {
 protected:
  QtConvertTest() { QtTestApp(); }
};

TEST_F(QtConvertTest, EveryByteSurvivesTheRoundTrip) {
  std::string bytes;
  for (int code = 1; code < 256; ++code) bytes.push_back(static_cast<char>(code));
  const QString text = ToQString(bytes);
  EXPECT_EQ(text.size(), 255);
  EXPECT_EQ(text.at(0xB5 - 1), QChar(0xB5));  // micro sign, as drive units use it
  EXPECT_EQ(FromQString(text), bytes);
}

TEST_F(QtConvertTest, ColoursAreBgrAndSystemColoursResolve) {
  EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(0x804020), QColor(0x20, 0x40, 0x80));
  EXPECT_EQ(FromQColor(QColor(0x20, 0x40, 0x80)), 0x804020u);
  EXPECT_EQ(ToQColor(0x80000000u | sysWindow), QColor(255, 255, 255));
  EXPECT_EQ(ToQColor(0x80000000u | sysHighlight), QColor(10, 36, 106));
}

TEST_F(QtConvertTest, DesktopPaletteFillsTheSystemColours) {
  QPalette palette;
  palette.setColor(QPalette::Active, QPalette::Base, QColor(1, 2, 3));
  palette.setColor(QPalette::Active, QPalette::Highlight, QColor(200, 100, 50));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(90, 90, 90));
  LoadSystemColors(palette);
  EXPECT_EQ(ToQColor(0x80000000u | sysWindow), QColor(1, 2, 3));
  EXPECT_EQ(ToQColor(0x80000000u | sysHighlight), QColor(200, 100, 50));
  EXPECT_EQ(ToQColor(0x80000000u | sysGrayText), QColor(90, 90, 90));
  ResetSystemColors();
  EXPECT_EQ(ToQColor(0x80000000u | sysWindow), QColor(255, 255, 255));
}

TEST_F(QtConvertTest, FontPointsBecomePixelsAt96Dpi) {
  CanvasFont font;
  font.Name = "Arial";
  font.Size = 8.25f;
  font.Bold = true;
  font.Underline = true;
  const QFont qfont = ToQFont(font);
  EXPECT_EQ(qfont.pixelSize(), 11);
  EXPECT_TRUE(qfont.bold());
  EXPECT_TRUE(qfont.underline());
  EXPECT_FALSE(qfont.italic());
  const CanvasFont back = FromQFont(qfont);
  EXPECT_EQ(back.Name, "Arial");
  EXPECT_FLOAT_EQ(back.Size, 8.25f);
  EXPECT_TRUE(back.Bold);

  QFont points("Arial");
  points.setPointSizeF(12);
  points.setItalic(true);
  EXPECT_FLOAT_EQ(FromQFont(points).Size, 12.0f);
  EXPECT_TRUE(FromQFont(points).Italic);
}

TEST_F(QtConvertTest, PicturesKeepTheirPixelsAndAlpha) {
  CanvasImage image;
  image.Width = 2;
  image.Height = 1;
  image.Pixels = {0xFF102030u, 0x00000000u};
  const CanvasImage back = FromQImage(ToQImage(image), "pram");
  EXPECT_EQ(back.Name, "pram");
  EXPECT_EQ(back.Pixels, image.Pixels);
}

TEST_F(QtConvertTest, ImageListScalesPicturesToItsSize) {
  QtImageList icons(16, 16);
  QPixmap big(32, 32);
  big.fill(QColor(0, 128, 0));
  EXPECT_TRUE(icons.Add("menu", big));
  EXPECT_FALSE(icons.Add("blank", QPixmap()));
  EXPECT_FALSE(icons.AddFile("pram", "/nonexistent/pram.png"));
  EXPECT_TRUE(icons.HasImage("menu"));
  EXPECT_FALSE(icons.HasImage("pram"));
  const CanvasImage menu = icons.Image("menu");
  EXPECT_EQ(menu.Name, "menu");
  EXPECT_EQ(menu.Width, 16);
  EXPECT_EQ(menu.Pixel(8, 8), 0xFF008000u);
  EXPECT_EQ(icons.Pixmap("menu").size(), QSize(16, 16));
  EXPECT_TRUE(icons.Pixmap("pram").isNull());
  EXPECT_TRUE(icons.Image("pram").IsEmpty());
}

}  // namespace
}  // namespace quendrel

// Byte strings, paths, colours, fonts and pictures must cross into Qt and back unchanged, and a
// message must show a path inside it as the user named it.
#include "platform/qt/QtConvert.h"

#include <gtest/gtest.h>

#include "platform/SystemColors.h"
#include "platform/qt/QtImageList.h"
#include "support/CaseName.h"
#include "support/QtTestApp.h"

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

struct PathCase {
  const char* bytes;  // as the file system holds the name
  const char16_t* shown;
};

class PathConversion : public ::testing::TestWithParam<PathCase> {
 protected:
  PathConversion() { QtTestApp(); }
};

TEST_P(PathConversion, ShowsTheNameAndGivesBackTheSameBytes) {
  const std::string bytes = GetParam().bytes;
  const QString shown = QString::fromUtf16(GetParam().shown);
  EXPECT_EQ(ToQPath(bytes), shown);
  EXPECT_EQ(FromQPath(shown), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathConversion,
    ::testing::Values(PathCase{"/tmp/plain.KVB", u"/tmp/plain.KVB"},
                      PathCase{"/tmp/f\xC3\xBCr.KVB", u"/tmp/f\u00FCr.KVB"},
                      PathCase{"\xD0\xBD\xD0\xB0\xD1\x81\xD0\xBE\xD1\x81.KVB", u"\u043D\u0430\u0441\u043E\u0441.KVB"},
                      PathCase{"/home/\xE2\x80\xA6/\xF0\x9F\x94\xA7.KVB", u"/home/\u2026/\U0001F527.KVB"}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return CaseName(info.index, "path"); });

struct MessageCase {
  const char* what;
  const char* bytes;
  const char16_t* shown;
};

class MessageConversion : public ::testing::TestWithParam<MessageCase> {
 protected:
  MessageConversion() { QtTestApp(); }
};

TEST_P(MessageConversion, ShowsUtf8AndLatin1AsWritten) {
  EXPECT_EQ(ToQMessage(GetParam().bytes), QString::fromUtf16(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageConversion,
    ::testing::Values(
        MessageCase{"program text", "Unable to open x.KVB.", u"Unable to open x.KVB."},
        MessageCase{"Cyrillic path", "Unable to open /tmp/\xD0\x94\xD0\xBE\xD0\xBA/f\xC3\xBCr.KVB.",
                    u"Unable to open /tmp/\u0414\u043E\u043A/f\u00FCr.KVB."},
        MessageCase{"Latin-1 drive text", "'M\xFC\xB5' is an invalid parameter ID.", u"'M\u00FC\u00B5' is an invalid parameter ID."},
        MessageCase{"both in one", "\xD0\x94: Gr\xFC\xDF" "e", u"\u0414: Gr\u00FC\u00DFe"},
        MessageCase{"ellipsis byte", "Saving\x85", u"Saving\u2026"},
        MessageCase{"cut character at the end", "x\xC3", u"x\u00C3"},
        MessageCase{"overlong slash", "\xC0\xAF", u"\u00C0\u00AF"},
        MessageCase{"surrogate half", "\xED\xA0\x80", u"\u00ED\u00A0\u0080"},
        MessageCase{"four bytes", "\xF0\x9F\x94\xA7", u"\U0001F527"},
        MessageCase{"beyond Unicode", "\xF4\x90\x80\x80", u"\u00F4\u0090\u0080\u0080"}),
    NameByField<&MessageCase::what>());

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

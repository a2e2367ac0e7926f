#include "platform/qt/QtConvert.h"

#include <QFile>
#include <QFontInfo>
#include <cmath>
#include <string_view>

#include "platform/SystemColors.h"

namespace quendrel {

// Our strings give the ellipsis the byte of its Windows-1252 code; in Latin-1 that byte is an
// unused control character.
constexpr char kEllipsisByte = '\x85';
constexpr char16_t kEllipsis = u'\u2026';

QString ToQString(const std::string& text) {
  QString result = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  return result.replace(QChar(static_cast<unsigned char>(kEllipsisByte)), QChar(kEllipsis));
}

std::string FromQString(const QString& text) {
  // Characters beyond Latin-1 have no byte; toLatin1 turns them into "?".
  QString latin = text;
  latin.replace(QChar(kEllipsis), QChar(static_cast<unsigned char>(kEllipsisByte)));
  const QByteArray bytes = latin.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString ToQPath(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string FromQPath(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

namespace {

// The length of the well-formed UTF-8 character at the start of bytes (shortest form, no
// surrogates, at most U+10FFFF), or 0 when the lead byte does not start one.
std::size_t Utf8CharLength(std::string_view bytes) {
  const auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = at(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  if (length == 0 || bytes.size() < length) return 0;
  if (at(1) < low || at(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if ((at(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

QString ToQMessage(const std::string& message) {
  QString result;
  result.reserve(static_cast<qsizetype>(message.size()));
  std::string_view rest(message);
  while (!rest.empty()) {
    const auto byte = static_cast<unsigned char>(rest.front());
    const std::size_t length = byte < 0x80 ? 1 : Utf8CharLength(rest);
    if (length == 0) {
      result += ToQString(std::string(1, rest.front()));
      rest.remove_prefix(1);
      continue;
    }
    result += QString::fromUtf8(rest.data(), static_cast<qsizetype>(length));
    rest.remove_prefix(length);
  }
  return result;
}

QColor ToQColor(Color color) {
  const std::uint32_t bgr = ResolveColor(color);
  return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                static_cast<int>((bgr >> 16) & 0xFFu));
}

Color FromQColor(const QColor& color) {
  return static_cast<Color>(color.red()) | (static_cast<Color>(color.green()) << 8) |
         (static_cast<Color>(color.blue()) << 16);
}

QFont ToQFont(const CanvasFont& font) {
  QFont result(ToQString(font.Name));
  result.setStyleHint(QFont::SansSerif);
  result.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * 96.0 / 72.0))));
  result.setBold(font.Bold);
  result.setItalic(font.Italic);
  result.setUnderline(font.Underline);
  result.setStrikeOut(font.Strikethrough);
  return result;
}

CanvasFont FromQFont(const QFont& font) {
  CanvasFont result;
  result.Name = FromQString(font.family());
  result.Size = font.pointSizeF() > 0 ? static_cast<float>(font.pointSizeF())
                                      : static_cast<float>(font.pixelSize() * 72.0 / 96.0);
  result.Bold = font.bold();
  result.Italic = font.italic();
  result.Underline = font.underline();
  result.Strikethrough = font.strikeOut();
  return result;
}

QImage ToQImage(const CanvasImage& image) {
  QImage result(image.Width, image.Height, QImage::Format_ARGB32);
  for (int y = 0; y < image.Height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < image.Width; ++x) line[x] = image.Pixel(x, y);
  }
  return result;
}

CanvasImage FromQImage(const QImage& image, const std::string& name) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  CanvasImage result;
  result.Name = name;
  result.Width = argb.width();
  result.Height = argb.height();
  result.Pixels.reserve(static_cast<std::size_t>(result.Width) *
                        static_cast<std::size_t>(result.Height));
  for (int y = 0; y < argb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    result.Pixels.insert(result.Pixels.end(), line, line + argb.width());
  }
  return result;
}

void LoadSystemColors(const QPalette& palette) {
  struct Role {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
  };
  static constexpr Role kRoles[] = {
      {sysInactiveCaption, QPalette::Inactive, QPalette::Highlight},
      {sysWindow, QPalette::Active, QPalette::Base},
      {sysWindowText, QPalette::Active, QPalette::Text},
      {sysHighlight, QPalette::Active, QPalette::Highlight},
      {sysHighlightText, QPalette::Active, QPalette::HighlightedText},
      {sysButtonFace, QPalette::Active, QPalette::Button},
      {sysGrayText, QPalette::Disabled, QPalette::Text},
      {sysButtonText, QPalette::Active, QPalette::ButtonText},
      {sysInactiveCaptionText, QPalette::Inactive, QPalette::HighlightedText},
      {sysDarkShadow, QPalette::Active, QPalette::Shadow},
  };
  for (const Role& role : kRoles) {
    SetSystemColor(role.index, FromQColor(palette.color(role.group, role.role)));
  }
}

}  // namespace quendrel

// Conversions between the plain platform types and Qt's: Latin-1 byte strings, colours,
// fonts and pictures.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QString>
#include <string>

#include "platform/Canvas.h"
#include "platform/CanvasFont.h"
#include "platform/CanvasImage.h"

namespace quendrel {

// Our strings hold one character code 0..255 per byte.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

// A system colour is resolved through the scheme table first.
QColor ToQColor(Color color);
Color FromQColor(const QColor& color);

// Sizes in points become pixels at 96 per inch, so text measures alike on every device.
QFont ToQFont(const CanvasFont& font);
CanvasFont FromQFont(const QFont& font);

QImage ToQImage(const CanvasImage& image);
CanvasImage FromQImage(const QImage& image, const std::string& name = {});

// Fills the system colour table from the desktop's palette, so drawings in system colours
// follow the user's scheme; tests keep the fixed classic table.
void LoadSystemColors(const QPalette& palette);

}  // namespace quendrel

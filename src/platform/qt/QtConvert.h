// Conversions between the plain platform types and Qt's: Latin-1 texts, paths, message texts,
// colours, fonts and pictures.
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

// Texts of controls, drives and the program's 8-bit files hold one character code 0..255 per
// byte.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

// A path is the file system's bytes (UTF-8 names on Linux), never a Latin-1 text: whatever the
// user picked or typed reaches open() as the name the file system lists.
QString ToQPath(const std::string& path);
std::string FromQPath(const QString& path);

// Message texts (the boxes' prompts and titles) are UTF-8, so a path inside one shows as the user
// named it; the program's own texts are ASCII and read the same either way. A byte that is not
// part of a UTF-8 character reads as Latin-1, so a drive's or a file's text quoted in a message
// shows as the windows show it.
QString ToQMessage(const std::string& message);

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

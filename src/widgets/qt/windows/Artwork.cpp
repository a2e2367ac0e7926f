#include "widgets/qt/windows/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

namespace quendrel {

namespace {

// Colours shared by the sets, so the four sets read as one family.
const QColor kInk(0x30, 0x36, 0x40);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kFolder(0xF2, 0xC1, 0x4E);
const QColor kFolderEdge(0xB0, 0x80, 0x1C);
const QColor kBlue(0x2A, 0x6E, 0xC8);
const QColor kGreen(0x2E, 0xA0, 0x43);
const QColor kGrey(0x9A, 0xA0, 0xA8);
const QColor kRed(0xC8, 0x3A, 0x32);
const QColor kOrange(0xE0, 0x7A, 0x1F);

struct IconKind {
  bool menu = false;
  bool bit = false;
  bool bitOn = false;
  bool readOnly = false;
  bool blank = false;
};

IconKind KindOf(const std::string& key) {
  IconKind kind;
  kind.blank = key != "menu" && key != "pram" && key != "readonly" && key != "bitpram0" &&
               key != "readonlybit0" && key != "bitpram1" && key != "readonlybit1";
  kind.menu = key == "menu";
  kind.bit = key.find("bit") != std::string::npos;
  kind.bitOn = kind.bit && key.back() == '1';
  kind.readOnly = key.rfind("readonly", 0) == 0;
  return kind;
}

QPixmap Transparent(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A small padlock in the lower right corner marks every read-only icon of every set.
void DrawLock(QPainter& p, const QColor& body) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(10, 8, 4, 4);  // shackle
  p.setPen(kInk);
  p.setBrush(body);
  p.drawRect(9, 10, 6, 5);
  p.setPen(kInk);
  p.drawPoint(12, 12);
}

void DrawFolder(QPainter& p) {
  p.setPen(kFolderEdge);
  p.setBrush(kFolder.darker(110));
  p.drawRect(1, 3, 6, 2);
  p.setBrush(kFolder);
  p.drawRect(1, 4, 14, 10);
  p.setPen(kFolder.lighter(130));
  p.drawLine(2, 5, 14, 5);
}

void DrawPage(QPainter& p, const QColor& paper, const QColor& lines) {
  p.setPen(kInk);
  p.setBrush(paper);
  QPolygon page;
  page << QPoint(3, 1) << QPoint(10, 1) << QPoint(13, 4) << QPoint(13, 15) << QPoint(3, 15);
  p.drawPolygon(page);
  p.drawLine(10, 1, 10, 4);
  p.drawLine(10, 4, 13, 4);
  p.setPen(lines);
  for (int y = 6; y <= 12; y += 3) p.drawLine(5, y, 11, y);
}

void DrawToggle(QPainter& p, bool on) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kInk, 1));
  p.setBrush(on ? kGreen : kGrey);
  p.drawRoundedRect(QRectF(0.5, 4.5, 15, 8), 4, 4);
  p.setBrush(kPaper);
  p.drawEllipse(QRectF(on ? 8.5 : 1.5, 5.5, 6, 6));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawFunctional(QPainter& p, const IconKind& kind) {
  if (kind.menu) return DrawFolder(p);
  if (kind.bit) {
    DrawToggle(p, kind.bitOn);
  } else {
    DrawPage(p, kind.readOnly ? QColor(0xE4, 0xE6, 0xEA) : kPaper, kind.readOnly ? kGrey : kBlue);
  }
  if (kind.readOnly) DrawLock(p, kFolder);
}

// Line glyphs: a list for a menu, a pencil on a square for a value, a circle for a bit.
void DrawGlyph(QPainter& p, const IconKind& kind, const QColor& ink, const QColor& accent) {
  p.setRenderHint(QPainter::Antialiasing, true);
  QPen pen(ink, 1.6);
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  if (kind.menu) {
    for (int y = 4; y <= 12; y += 4) {
      p.setBrush(accent);
      p.drawEllipse(QPointF(3, y), 1.2, 1.2);
      p.drawLine(QPointF(6, y), QPointF(14, y));
    }
    return;
  }
  if (kind.bit) {
    p.drawEllipse(QPointF(7.5, 7.5), 5.5, 5.5);
    if (kind.bitOn) {
      p.setBrush(accent);
      p.setPen(Qt::NoPen);
      p.drawEllipse(QPointF(7.5, 7.5), 3.0, 3.0);
    }
    return;
  }
  p.drawRoundedRect(QRectF(1.5, 1.5, 12, 12), 2, 2);
  if (kind.readOnly) {
    p.drawLine(QPointF(4.5, 7.5), QPointF(10.5, 7.5));
    return;
  }
  QPen pencil(accent, 2.0);
  pencil.setCapStyle(Qt::RoundCap);
  p.setPen(pencil);
  p.drawLine(QPointF(4.5, 10.5), QPointF(10.5, 4.5));
}

void DrawSymbolic(QPainter& p, const IconKind& kind) {
  DrawGlyph(p, kind, kInk, kInk);
  p.setRenderHint(QPainter::Antialiasing, false);
  if (kind.readOnly) DrawLock(p, kGrey);
}

void DrawColoredSymbolic(QPainter& p, const IconKind& kind) {
  QColor accent = kBlue;
  if (kind.menu) accent = kOrange;
  if (kind.bit) accent = kind.bitOn ? kGreen : kGrey;
  if (kind.readOnly && !kind.bit) accent = kRed;
  DrawGlyph(p, kind, accent.darker(125), accent);
  p.setRenderHint(QPainter::Antialiasing, false);
  if (kind.readOnly) DrawLock(p, kRed);
}

void DrawCard(QPainter& p, int x, int y, const QColor& header) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(x + 0.5, y + 0.5, 11, 13), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(header);
  p.drawRect(QRectF(x + 1.5, y + 1.5, 9.5, 3));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawCards(QPainter& p, const IconKind& kind) {
  if (kind.menu) {
    DrawCard(p, 4, 0, kOrange.lighter(120));
    DrawCard(p, 1, 2, kOrange);
    return;
  }
  DrawCard(p, 2, 1, kind.readOnly ? kGrey : kBlue);
  p.setPen(kInk);
  if (kind.bit) {
    p.setBrush(kPaper);
    p.drawRect(5, 7, 5, 5);
    if (kind.bitOn) {
      p.setPen(QPen(kGreen, 2));
      p.drawLine(6, 9, 7, 11);
      p.drawLine(7, 11, 10, 7);
    }
  } else {
    p.setPen(kind.readOnly ? kGrey : kInk);
    p.drawLine(4, 8, 10, 8);
    p.drawLine(4, 11, 8, 11);
  }
  if (kind.readOnly) DrawLock(p, kFolder);
}

void DrawWave(QPainter& p, const QRectF& area, double phase, const QColor& color, double width) {
  QPainterPath path;
  const int steps = 48;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const QPointF point(area.left() + t * area.width(),
                        area.center().y() - std::sin(t * 2 * M_PI + phase) * area.height() / 2);
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

// The program's mark: three phase waves on a dark rounded tile.
void DrawMark(QPainter& p, const QRectF& box) {
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient tile(box.topLeft(), box.bottomRight());
  tile.setColorAt(0, QColor(0x1F, 0x4E, 0x8C));
  tile.setColorAt(1, QColor(0x10, 0x2A, 0x4E));
  // A light edge keeps the tile apart from dark backgrounds such as the splash.
  const double edge = std::max(1.0, box.width() / 48.0);
  p.setPen(QPen(QColor(255, 255, 255, 110), edge));
  p.setBrush(tile);
  const QRectF inside = box.adjusted(edge / 2, edge / 2, -edge / 2, -edge / 2);
  p.drawRoundedRect(inside, box.width() * 0.18, box.width() * 0.18);
  const QRectF waves = box.adjusted(box.width() * 0.14, box.height() * 0.28, -box.width() * 0.14,
                                    -box.height() * 0.28);
  const double width = std::max(1.0, box.width() / 16.0);
  DrawWave(p, waves, 0.0, QColor(0xFF, 0xD0, 0x4A), width);
  DrawWave(p, waves, 2 * M_PI / 3, QColor(0x7F, 0xD8, 0xFF), width);
  DrawWave(p, waves, 4 * M_PI / 3, QColor(0xFF, 0xFF, 0xFF), width);
}

QPixmap Painted(int width, int height, const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap = Transparent(width, height);
  QPainter painter(&pixmap);
  draw(painter);
  return pixmap;
}

// A chip with an arrow into it: new firmware going into the drive.
void DrawFirmwareChip(QPainter& p, const QRectF& chip) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(0xC8, 0xD4, 0xE4), 2));
  const int pins = 5;
  for (int i = 0; i < pins; ++i) {
    const double x = chip.left() + chip.width() * (i + 1) / (pins + 1);
    const double y = chip.top() + chip.height() * (i + 1) / (pins + 1);
    const double reach = chip.width() * 0.12;
    p.drawLine(QPointF(x, chip.top() - reach), QPointF(x, chip.top()));
    p.drawLine(QPointF(x, chip.bottom()), QPointF(x, chip.bottom() + reach));
    p.drawLine(QPointF(chip.left() - reach, y), QPointF(chip.left(), y));
    p.drawLine(QPointF(chip.right(), y), QPointF(chip.right() + reach, y));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x26, 0x2C, 0x36));
  p.drawRoundedRect(chip, 4, 4);
  QPainterPath arrow;
  const QPointF c = chip.center();
  const double s = chip.width() * 0.22;
  arrow.moveTo(c.x() - s * 0.45, c.y() - s * 1.2);
  arrow.lineTo(c.x() + s * 0.45, c.y() - s * 1.2);
  arrow.lineTo(c.x() + s * 0.45, c.y());
  arrow.lineTo(c.x() + s, c.y());
  arrow.lineTo(c.x(), c.y() + s);
  arrow.lineTo(c.x() - s, c.y());
  arrow.lineTo(c.x() - s * 0.45, c.y());
  arrow.closeSubpath();
  p.setBrush(QColor(0x5F, 0xD0, 0x6E));
  p.drawPath(arrow);
}

QPixmap SidePicture() {
  return Painted(164, 314, [](QPainter& p) {
    QLinearGradient sky(0, 0, 0, 314);
    sky.setColorAt(0, QColor(0x1F, 0x4E, 0x8C));
    sky.setColorAt(1, QColor(0x0B, 0x1C, 0x36));
    p.fillRect(0, 0, 164, 314, sky);
    for (int i = 0; i < 3; ++i) {
      DrawWave(p, QRectF(-10, 220 + i * 18, 184, 40), i * 2 * M_PI / 3,
               QColor(255, 255, 255, 40 + i * 25), 2.0);
    }
    DrawFirmwareChip(p, QRectF(42, 70, 80, 80));
    p.setPen(QColor(0xFF, 0xFF, 0xFF));
    QFont font = p.font();
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(0, 180, 164, 30), Qt::AlignCenter, QStringLiteral("Quendrel"));
  });
}

QPixmap HeadingPicture() {
  return Painted(64, 64, [](QPainter& p) { DrawFirmwareChip(p, QRectF(14, 14, 36, 36)); });
}

}  // namespace

QPixmap Artwork::TreeIcon(IconSetKind set, const std::string& key) {
  const IconKind kind = KindOf(key);
  return Painted(TreeIconSize, TreeIconSize, [set, &kind](QPainter& p) {
    if (kind.blank) return;
    switch (set) {
      case IconSetKind::Symbolic: return DrawSymbolic(p, kind);
      case IconSetKind::ColoredSymbolic: return DrawColoredSymbolic(p, kind);
      case IconSetKind::Cards: return DrawCards(p, kind);
      case IconSetKind::Functional: return DrawFunctional(p, kind);
    }
  });
}

void Artwork::FillTreeIcons(QtImageList& list, IconSetKind set) {
  for (const char* key : TreeIconKeys) list.Add(key, TreeIcon(set, key));
}

QPixmap Artwork::WindowPicture(int size) {
  return Painted(size, size, [size](QPainter& p) { DrawMark(p, QRectF(0, 0, size, size)); });
}

QIcon Artwork::WindowIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(WindowPicture(size));
  return icon;
}

QPixmap Artwork::WizardPicture(int number) {
  if (number == 101) return SidePicture();
  if (number == 102) return HeadingPicture();
  return {};
}

}  // namespace quendrel

#include "shell/qt/frmSplash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include "platform/qt/QtConvert.h"
#include "shell/AppGlobals.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 260;

QFont SizedFont(const QFont& base, int pixels, bool bold) {
  QFont font = base;
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

}  // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setFixedSize(kWidth, kHeight);
  setWindowTitle(ToQString(Product().Product));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void frmSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient band(0, 0, 0, kHeight);
  band.setColorAt(0, QColor(0x1F, 0x4E, 0x8C));
  band.setColorAt(1, QColor(0x0B, 0x1C, 0x36));
  p.fillRect(rect(), band);
  p.drawPixmap(32, 40, Artwork::WindowPicture(96));

  const ProductTexts& product = Product();
  p.setPen(Qt::white);
  p.setFont(SizedFont(font(), 36, true));
  p.drawText(QRect(150, 36, kWidth - 170, 48), Qt::AlignLeft | Qt::AlignVCenter,
             ToQString(product.Product));
  p.setFont(SizedFont(font(), 14, false));
  p.drawText(QRect(152, 86, kWidth - 170, 22), Qt::AlignLeft | Qt::AlignVCenter,
             ToQString(product.Description));
  p.drawText(QRect(152, 110, kWidth - 170, 22), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Version ") + ToQString(product.Version));

  p.setPen(QColor(0xC8, 0xD4, 0xE4));
  p.setFont(SizedFont(font(), 11, false));
  p.drawText(QRect(24, kHeight - 52, kWidth - 48, 40), Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
             ToQString(product.Company) + QLatin1Char('\n') + ToQString(product.LegalCopyright));
}

}  // namespace quendrel

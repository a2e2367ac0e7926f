#include "tree/qt/support/QtTreeSupport.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

namespace quendrel::test {
namespace {

QPixmap Glyph(QColor fill, bool readOnly, const QString& letter) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QPen(fill.darker(160), 1));
  painter.setBrush(fill);
  painter.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
  if (readOnly) painter.fillRect(QRect(9, 9, 6, 6), QColor(80, 80, 80));
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(10);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(1, 0, 13, 14), Qt::AlignCenter, letter);
  return pixmap;
}

// The application lives from before the first test to after the last, and is gone before
// the program's static objects are: Qt's input devices crash when torn down at exit.
class QtAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "quendrel-tree-test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

}  // namespace

void EnsureApp() { ASSERT_NE(qApp, nullptr); }

std::unique_ptr<QtImageList> SampleIcons() {
  EnsureApp();
  auto icons = std::make_unique<QtImageList>(16, 16);
  icons->Add("menu", Glyph(QColor(220, 160, 30), false, "M"));
  icons->Add("pram", Glyph(QColor(40, 100, 210), false, "P"));
  icons->Add("readonly", Glyph(QColor(40, 100, 210), true, "P"));
  icons->Add("bitpram0", Glyph(QColor(40, 150, 60), false, "0"));
  icons->Add("bitpram1", Glyph(QColor(200, 50, 40), false, "1"));
  icons->Add("readonlybit0", Glyph(QColor(40, 150, 60), true, "0"));
  icons->Add("readonlybit1", Glyph(QColor(200, 50, 40), true, "1"));
  QPixmap blank(16, 16);
  blank.fill(Qt::transparent);
  icons->Add("blank", blank);
  return icons;
}

QString SaveRender(const QImage& image, const QString& name) {
  const char* root = std::getenv("QUENDREL_TEST_OUTPUT");
  const QDir folder(QString(root != nullptr ? root : ".") + "/tree");
  if (!folder.mkpath(".")) return {};
  const QString path = folder.filePath(name);
  return image.save(path) ? path : QString();
}

}  // namespace quendrel::test

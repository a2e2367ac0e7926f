// The icon key window: each icon drawn once from the host's set, again after reopening, the
// window placed over its owner, and Escape closing it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

#include "editors/qt/popIconHelp.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

class IconKeyTest : public ::testing::Test {
 protected:
  IconKeyTest() : icons(Artwork::TreeIconSize, Artwork::TreeIconSize) {
    Artwork::FillTreeIcons(icons, IconSetKind::Cards);
    owner.menuBar()->addMenu("&Help");
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&owner));
  }
  ~IconKeyTest() override {
    if (popIconHelp::Instance() != nullptr) popIconHelp::Instance()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  popIconHelp* Open() {
    popIconHelp* key = popIconHelp::ShowKey(WindowHost{nullptr, &icons, &owner});
    EXPECT_TRUE(QTest::qWaitForWindowExposed(key));
    QApplication::processEvents();
    return key;
  }

  QApplication& app = QtTestApp();
  QtImageList icons;
  QMainWindow owner;
};

TEST_F(IconKeyTest, DrawsEachIconOnceAndAgainAfterReopening) {
  popIconHelp* key = Open();
  EXPECT_EQ(key->windowTitle(), "Parameter Symbol Key");
  EXPECT_EQ(key->Drawings(), 1);
  const char* keys[] = {"menu", "pram", "readonly", "bitpram0", "bitpram1", "readonlybit0", "readonlybit1"};
  const QRgb ground = key->palette().color(QPalette::Window).rgb();
  for (int i = 0; i < popIconHelp::IconCount; ++i) {
    const QImage box = key->IconBox(i)->pixmap().toImage();
    const QImage icon = icons.Pixmap(keys[i]).toImage();
    int iconPixels = 0;
    for (int y = 0; y < icon.height(); ++y) {
      for (int x = 0; x < icon.width(); ++x) {
        if (qAlpha(icon.pixel(x, y)) != 255) continue;
        ++iconPixels;
        EXPECT_EQ(box.pixel(1 + x, 1 + y), icon.pixel(x, y)) << keys[i] << " at " << x << "," << y;
      }
    }
    EXPECT_GT(iconPixels, 0) << keys[i];
    EXPECT_EQ(box.pixel(0, 0), ground) << keys[i];
  }
  EXPECT_TRUE(key->grab().save(QString::fromStdString(TestOutputPath("editors", "icon-key.png"))));
  key->repaint();
  QApplication::processEvents();
  EXPECT_EQ(key->Drawings(), 1);
  EXPECT_EQ(popIconHelp::ShowKey(WindowHost{nullptr, &icons, &owner}), key);
  key->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(popIconHelp::Instance(), nullptr);
  EXPECT_EQ(Open()->Drawings(), 1);
}

TEST_F(IconKeyTest, OpensOverItsOwnerAndEscapeClosesIt) {
  popIconHelp* key = Open();
  const QRect client(owner.mapToGlobal(QPoint(0, 0)), owner.size());
  EXPECT_TRUE(client.contains(key->frameGeometry().center())) << "the key is not over its owner";
  EXPECT_GT(key->geometry().top(), owner.mapToGlobal(owner.menuBar()->geometry().bottomLeft()).y())
      << "the key covers the menu bar";
  QTest::keyClick(key, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(popIconHelp::Instance(), nullptr);
}

}  // namespace
}  // namespace quendrel
